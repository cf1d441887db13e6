// The six-language catalogue of the front-end's own texts. UTF-8 source,
// compiled with an explicit UTF-8 input charset; the wide literals are UTF-16.
#include "text/catalogue.h"

namespace {

constexpr const wchar_t* UI_TEXTS[LANGUAGE_COUNT][TEXT_COUNT] = {
    // Chinese ("zh")
    {
        L"多人语音分离工具", // T_APP_TITLE
        L"音频/视频文件:", // T_LBL_INPUT
        L"浏览...", // T_BTN_BROWSE
        L"输出目录:", // T_LBL_OUTPUT
        L"名称标签:", // T_LBL_LABEL
        L"同时生成每句小片段", // T_CHK_CLIPS
        L"说话人数量:", // T_LBL_SPEAKERS
        L"设置...", // T_BTN_SETTINGS
        L"日志:", // T_LBL_LOG
        L"确认", // T_BTN_OK
        L"取消", // T_BTN_CANCEL
        L"设置(&S)", // T_MENU_SETTINGS
        L"阿里云账号设置(&A)...", // T_MENU_ACCOUNT
        L"账号与语言设置", // T_DLG_TITLE
        L"AccessKey ID:", // T_DLG_KEY_ID
        L"AccessKey Secret:", // T_DLG_KEY_SECRET
        L"Appkey:", // T_DLG_APPKEY
        L"地域(Region):", // T_DLG_REGION
        L"OSS 桶名:", // T_DLG_BUCKET
        L"界面语言:", // T_DLG_LANG
        L"（账号信息保存在本目录 aliyun_config.json；识别语种需在阿里云控制台配置对应模型）", // T_DLG_NOTE
        L"确定", // T_DLG_OK
        L"取消", // T_DLG_CANCEL
        L"文件不存在，请重新选择。", // T_ERR_NO_FILE
        L"未找到 vuruzuz_odurevazu.exe，请把它放在本程序同一目录。", // T_ERR_NO_ENGINE
        L"启动处理程序失败。", // T_ERR_START
        L"处理完成。", // T_MSG_DONE
        L"处理失败，退出码 {0}，请查看上方日志。", // T_MSG_FAILED
        L"正在取消，请稍候...", // T_MSG_CANCELLING
        L"请选择音频/视频文件，点击【确认】开始分离；账号信息可在【设置】中填写。", // T_MSG_HINT
        L"正在处理中，确定要退出吗？", // T_ASK_EXIT
        L"AccessKey ID、AccessKey Secret、Appkey、地域和 OSS 桶名不能为空。", // T_ERR_DLG_EMPTY
        L"请先在【设置】中填写阿里云 AccessKey ID、AccessKey Secret、Appkey、地域和 OSS 桶名，才能开始处理。", // T_ERR_NEED_ACCOUNT
        L"开始处理: ", // T_LOG_START
        L"访问官方", // T_LINK_OFFICIAL
        L"无法保存设置到 {0}。请把本程序移到您有写入权限的文件夹，或取消该文件的只读属性后重试。", // T_ERR_SAVE_CONFIG
        L"名称标签必须是单个文件夹名：不能包含 \\ / : * ? \" < > |，不能是 . 或 ..，不能以点或空格结尾，也不能是 CON、NUL 等保留名称。", // T_ERR_BAD_LABEL
        L"无法创建或打开结果文件夹: {0}", // T_MSG_OPEN_FAILED
        L"复制(&C)", // T_MENU_COPY
        L"全选(&A)", // T_MENU_SELECT_ALL
        L"保存日志(&S)...\tCtrl+S", // T_MENU_SAVE_LOG
        L"清空日志(&L)", // T_MENU_CLEAR_LOG
        L"（前面还有 {0} 行未在此显示；【保存日志】会保存全部内容。）", // T_LOG_EARLIER
        L"无法将日志保存到 {0}。请选择其他位置后重试。", // T_ERR_SAVE_LOG
        L"录音", // T_COL_RECORDING
        L"状态", // T_COL_STATE
        L"结果", // T_COL_RESULT
        L"等待中", // T_STATE_WAITING
        L"处理中", // T_STATE_RUNNING
        L"已完成", // T_STATE_DONE
        L"失败", // T_STATE_FAILED
        L"已取消", // T_STATE_CANCELLED
        L"已中断", // T_STATE_INTERRUPTED
        L"移除(&R)\tDel", // T_MENU_REMOVE
        L"打开结果文件夹(&O)", // T_MENU_OPEN_RESULT
        L"重新处理(&A)", // T_MENU_RUN_AGAIN
        L"清除已结束项(&F)", // T_MENU_CLEAR_FINISHED
        L"{0} 中没有音频/视频文件。", // T_ERR_NO_RECORDINGS
        L"已跳过 {0} 个非音频/视频文件。", // T_LOG_SKIPPED
        L"队列结束：完成 {0} 个，失败 {1} 个，取消 {2} 个，未处理 {3} 个。", // T_LOG_QUEUE_SUMMARY
        L"无法读取文件夹 {0}。", // T_ERR_FOLDER_UNREADABLE
        L"路径超出 Windows 允许的长度，已跳过: {0}", // T_ERR_PATH_TOO_LONG
        L"保存的队列无法读取，已另存为 {0}，队列从空开始。", // T_LOG_QUEUE_BROKEN
        L"无法将队列保存到 {0}。列表保持不变；若要在重启后保留，请取消该文件的只读属性。", // T_LOG_QUEUE_NOT_SAVED
        L"退出码 {0}", // T_RESULT_EXIT_CODE
        L"输出目录中含有 CON、NUL、COM1、LPT1 等设备名，不能作为文件夹。请选择其他输出目录。", // T_ERR_DEVICE_OUTPUT
        L"该文件名不能用作结果文件夹名，请填写名称标签。", // T_ERR_NEED_LABEL
        L"这是一个文件夹，不是文件。请选择音频/视频文件。", // T_ERR_INPUT_IS_FOLDER
        L"名称标签太长：文件夹名最多 255 个字符。", // T_ERR_LABEL_TOO_LONG
        L"设置文件无法按原样读取，无法使用的内容已恢复为默认值；原文件已保存为 {0}。", // T_LOG_CONFIG_RESET
        L"设置文件 {0} 正被其他程序占用。请关闭该程序后重试。", // T_ERR_CONFIG_IN_USE
        L"保存的队列 {0} 暂时无法读取，可能正被其他程序占用。该文件保持不变，一旦可以读取，其中的项目会加入列表。", // T_LOG_QUEUE_UNREAD
        L"{0} 的结果文件夹名不可用：加上名称标签后超过 255 个字符、以点或空格结尾，或是 CON 等保留名称。请重命名该文件、修改名称标签，或将它移出队列。", // T_ERR_ITEM_NAME
        L"本程序的另一个窗口正在使用队列文件 {0}。此窗口的队列在关闭后不会保留。", // T_LOG_QUEUE_ELSEWHERE
        L"录音路径、输出目录和名称标签合计超过 Windows 允许的处理程序命令行长度（32767 个字符）。请选择更短的输出目录或名称标签。", // T_ERR_COMMAND_TOO_LONG
        L"输出目录 {0} 无法使用：无法在其中创建文件夹（它可能是一个文件、位于不存在的驱动器上，或为只读）。请选择其他输出目录。", // T_ERR_OUTPUT_UNUSABLE
        L"命令行中指定的 {0} 个录音已在列表中，将重新处理。", // T_LOG_NAMED_AGAIN
        L"之前就在等待的 {0} 个录音继续等待；点击【确认】即可处理。", // T_LOG_LEFT_WAITING
        L"本程序的另一个窗口正在使用队列文件 {0}。此窗口列表中的 {1} 个录音将不会保留。仍要关闭吗？", // T_ASK_QUEUE_NOT_KEPT
        L"此窗口现在负责队列文件 {0}；其中保存的录音已加入列表。", // T_LOG_QUEUE_TAKEN_OVER
        L"正在添加录音... 已找到 {0} 个", // T_LIST_ADDING
        L"保存的队列中有 {0} 项无法读取，已略去（第一项为 {1}）。原文件已保存为 {2}。", // T_LOG_QUEUE_ITEMS_DROPPED
        L"第 {0} 项", // T_QUEUE_ENTRY
        L"{0} 是一个文件夹而不是文件，队列无法保存在那里。若要在重启后保留队列，请重命名或删除该文件夹。", // T_LOG_QUEUE_IS_FOLDER
        L"无法将队列保存到 {0}：磁盘已满。列表保持不变；若要在重启后保留，请释放一些磁盘空间。", // T_LOG_QUEUE_DISK_FULL
        L"{0} 的结果文件夹名不可用：该文件名超过 255 个字符、以点或空格结尾，或是 CON 等保留名称。请重命名该文件、填写名称标签，或将它移出队列。", // T_ERR_ITEM_NAME_NO_LABEL
        L"{0} 个录音的结果文件夹名不可用：加上名称标签后超过 255 个字符、以点或空格结尾，或是 CON 等保留名称。请重命名这些文件、修改名称标签，或将它们移出队列：{1}", // T_ERR_ITEM_NAMES
        L"{0} 个录音的结果文件夹名不可用：文件名超过 255 个字符、以点或空格结尾，或是 CON 等保留名称。请重命名这些文件、填写名称标签，或将它们移出队列：{1}", // T_ERR_ITEM_NAMES_NO_LABEL
        L"……还有 {0} 个", // T_MORE_ITEMS
        L"结果文件夹已不存在", // T_RESULT_GONE
        L"结果文件夹 {0} 已不存在：处理期间输出目录被删除或重命名。请重新处理该录音。", // T_LOG_RESULT_GONE
        L"日志文件: {0}", // T_LOG_FILE
        L"无法将日志文件写入 {0}；处理将在没有日志文件的情况下继续。", // T_LOG_NO_LOG_FILES
        L"打开日志(&L)", // T_MENU_OPEN_LOG
        L"正在分离说话人：{0}", // T_POWER_REASON_RUN
        L"正在分离说话人：第 {0} 个，共 {1} 个", // T_POWER_REASON_QUEUE
        L"队列(&Q)", // T_MENU_QUEUE
        L"处理完当前录音后停止(&T)", // T_MENU_STOP_AFTER
        L"队列完成后(&W)", // T_MENU_WHEN_DONE
        L"不执行操作(&N)", // T_MENU_DO_NOTHING
        L"睡眠(&S)", // T_MENU_SLEEP
        L"关机(&D)", // T_MENU_SHUT_DOWN
        L"队列已完成。计算机将在 {0} 秒后进入睡眠。", // T_COUNTDOWN_SLEEP
        L"队列已完成。计算机将在 {0} 秒后关机。", // T_COUNTDOWN_SHUT_DOWN
        L"立即睡眠", // T_BTN_SLEEP_NOW
        L"立即关机", // T_BTN_SHUT_DOWN_NOW
        L"计算机保持开启。", // T_LOG_STAYS_ON
        L"计算机现在进入睡眠。", // T_LOG_SLEEPING
        L"计算机现在关机。", // T_LOG_SHUTTING_DOWN
        L"Windows 不允许此操作；计算机保持开启。", // T_LOG_WHEN_DONE_REFUSED
        L"处理完当前录音后队列将停止，其余录音继续等待。", // T_LOG_STOP_AFTER
        L"处理完当前录音后队列将继续。", // T_LOG_GO_ON
        L"Windows 正在结束会话：处理已中断。Windows 重新启动本程序后，队列会继续。", // T_LOG_SESSION_END
        L"Windows 已重新启动本程序：先重新处理被中断的录音，再处理等待中的录音。", // T_LOG_RESUMED
        L"打开程序文件夹(&P)", // T_MENU_OPEN_PROGRAM_FOLDER
        L"列表中没有等待中的录音。若要重新处理已结束的录音，请选中它们，并在列表菜单中选择【重新处理】。", // T_ERR_NOTHING_WAITS
        L"加入多人语音分离队列", // T_VERB_QUEUE
        L"窗口已关闭，处理已停止。", // T_LOG_CLOSED_DURING_RUN
    },
    // English ("en")
    {
        L"Zozediv Uzuvurodaz Ered", // T_APP_TITLE
        L"Audio/Video file:", // T_LBL_INPUT
        L"Browse...", // T_BTN_BROWSE
        L"Output folder:", // T_LBL_OUTPUT
        L"Name label:", // T_LBL_LABEL
        L"Also create per-sentence clips", // T_CHK_CLIPS
        L"Number of speakers:", // T_LBL_SPEAKERS
        L"Settings...", // T_BTN_SETTINGS
        L"Log:", // T_LBL_LOG
        L"OK", // T_BTN_OK
        L"Cancel", // T_BTN_CANCEL
        L"Settings(&S)", // T_MENU_SETTINGS
        L"Aliyun account settings(&A)...", // T_MENU_ACCOUNT
        L"Account & Language Settings", // T_DLG_TITLE
        L"AccessKey ID:", // T_DLG_KEY_ID
        L"AccessKey Secret:", // T_DLG_KEY_SECRET
        L"Appkey:", // T_DLG_APPKEY
        L"Region:", // T_DLG_REGION
        L"OSS bucket:", // T_DLG_BUCKET
        L"UI language:", // T_DLG_LANG
        L"(Account info is saved to aliyun_config.json in this folder. The recognition language is set by the Aliyun console model.)", // T_DLG_NOTE
        L"OK", // T_DLG_OK
        L"Cancel", // T_DLG_CANCEL
        L"File does not exist. Please choose again.", // T_ERR_NO_FILE
        L"vuruzuz_odurevazu.exe not found. Put it in the same folder as this program.", // T_ERR_NO_ENGINE
        L"Failed to start the processing program.", // T_ERR_START
        L"Done.", // T_MSG_DONE
        L"Failed, exit code {0}. See the log above.", // T_MSG_FAILED
        L"Cancelling, please wait...", // T_MSG_CANCELLING
        L"Choose an audio/video file and click OK to start. Account info can be set in Settings.", // T_MSG_HINT
        L"Processing in progress. Exit anyway?", // T_ASK_EXIT
        L"AccessKey ID, AccessKey Secret, Appkey, region and OSS bucket cannot be empty.", // T_ERR_DLG_EMPTY
        L"Please fill in the Aliyun AccessKey ID, AccessKey Secret, Appkey, region and OSS bucket in Settings before processing.", // T_ERR_NEED_ACCOUNT
        L"Start processing: ", // T_LOG_START
        L"Visit Official", // T_LINK_OFFICIAL
        L"Could not save the settings to {0}. Move this program to a folder you can write to, or make the file writable, and try again.", // T_ERR_SAVE_CONFIG
        L"The name label must be a single folder name: it may not contain \\ / : * ? \" < > |, be . or .., end with a dot or a blank, or be a reserved name such as CON or NUL.", // T_ERR_BAD_LABEL
        L"Could not create or open the result folder: {0}", // T_MSG_OPEN_FAILED
        L"Copy(&C)", // T_MENU_COPY
        L"Select all(&A)", // T_MENU_SELECT_ALL
        L"Save log(&S)...\tCtrl+S", // T_MENU_SAVE_LOG
        L"Clear log(&L)", // T_MENU_CLEAR_LOG
        L"({0} earlier lines are not shown here. Save log keeps them all.)", // T_LOG_EARLIER
        L"Could not save the log to {0}. Choose another place and try again.", // T_ERR_SAVE_LOG
        L"Recording", // T_COL_RECORDING
        L"State", // T_COL_STATE
        L"Result", // T_COL_RESULT
        L"Waiting", // T_STATE_WAITING
        L"Running", // T_STATE_RUNNING
        L"Done", // T_STATE_DONE
        L"Failed", // T_STATE_FAILED
        L"Cancelled", // T_STATE_CANCELLED
        L"Interrupted", // T_STATE_INTERRUPTED
        L"Remove(&R)\tDel", // T_MENU_REMOVE
        L"Open result folder(&O)", // T_MENU_OPEN_RESULT
        L"Run again(&A)", // T_MENU_RUN_AGAIN
        L"Clear finished(&F)", // T_MENU_CLEAR_FINISHED
        L"{0} holds no audio/video files.", // T_ERR_NO_RECORDINGS
        L"{0} files were skipped: they are not audio/video files.", // T_LOG_SKIPPED
        L"Queue finished: {0} done, {1} failed, {2} cancelled, {3} not run.", // T_LOG_QUEUE_SUMMARY
        L"Could not read the folder {0}.", // T_ERR_FOLDER_UNREADABLE
        L"The path is longer than Windows allows and was skipped: {0}", // T_ERR_PATH_TOO_LONG
        L"The saved queue could not be read. It was kept as {0}, and the queue starts empty.", // T_LOG_QUEUE_BROKEN
        L"Could not save the queue to {0}. The list stays as it is; to keep it across restarts, make the file writable.", // T_LOG_QUEUE_NOT_SAVED
        L"exit code {0}", // T_RESULT_EXIT_CODE
        L"The output folder contains a device name such as CON, NUL, COM1 or LPT1, which cannot be a folder. Choose another output folder.", // T_ERR_DEVICE_OUTPUT
        L"The recording's name cannot be used as a folder name. Please type a name label.", // T_ERR_NEED_LABEL
        L"This is a folder, not a file. Choose an audio/video file.", // T_ERR_INPUT_IS_FOLDER
        L"The name label is too long: a folder name can have at most 255 characters.", // T_ERR_LABEL_TOO_LONG
        L"The settings file could not be read as it was; what could not be used is back at its default, and the file was kept as {0}.", // T_LOG_CONFIG_RESET
        L"The settings file {0} is in use by another program. Close that program and try again.", // T_ERR_CONFIG_IN_USE
        L"The saved queue {0} cannot be read now; another program may be using it. The file is left as it is, and its recordings join the list as soon as it can be read.", // T_LOG_QUEUE_UNREAD
        L"The result folder name for {0} cannot be used: with the name label it is longer than 255 characters, ends with a dot or a blank, or is a reserved name such as CON. Rename the recording, change the name label, or remove the recording from the queue.", // T_ERR_ITEM_NAME
        L"Another window of this program keeps the queue in {0}. The queue of this window is not kept when it closes.", // T_LOG_QUEUE_ELSEWHERE
        L"The recording's path, the output folder and the name label together are longer than Windows allows on the processing program's command line (32,767 characters). Choose a shorter output folder or name label.", // T_ERR_COMMAND_TOO_LONG
        L"The output folder {0} cannot be used: no folder can be made in it (it may be a file, on a drive that is not there, or read-only). Choose another output folder.", // T_ERR_OUTPUT_UNUSABLE
        L"Recordings given on the command line that were in the list already run again: {0}.", // T_LOG_NAMED_AGAIN
        L"Recordings that were waiting from before stay waiting: {0}. Click OK to run them.", // T_LOG_LEFT_WAITING
        L"Another window of this program keeps the queue in {0}. The {1} recordings in this window's list will not be kept. Close anyway?", // T_ASK_QUEUE_NOT_KEPT
        L"This window keeps the queue in {0} now; the recordings saved there join its list.", // T_LOG_QUEUE_TAKEN_OVER
        L"Adding recordings... {0} found so far", // T_LIST_ADDING
        L"{0} entries of the saved queue could not be read and were left out, the first being {1}. The file as it was is kept as {2}.", // T_LOG_QUEUE_ITEMS_DROPPED
        L"entry {0}", // T_QUEUE_ENTRY
        L"{0} is a folder, not a file, so the queue cannot be kept there. Rename or remove that folder to keep the queue across restarts.", // T_LOG_QUEUE_IS_FOLDER
        L"Could not save the queue to {0}: the disk is full. The list stays as it is; to keep it across restarts, free some space.", // T_LOG_QUEUE_DISK_FULL
        L"The result folder name for {0} cannot be used: the recording's name is longer than 255 characters, ends with a dot or a blank, or is a reserved name such as CON. Rename the recording, type a name label, or remove the recording from the queue.", // T_ERR_ITEM_NAME_NO_LABEL
        L"The result folder names for {0} recordings cannot be used: with the name label they are longer than 255 characters, end with a dot or a blank, or are reserved names such as CON. Rename the recordings, change the name label, or remove them from the queue:{1}", // T_ERR_ITEM_NAMES
        L"The result folder names for {0} recordings cannot be used: the recordings' names are longer than 255 characters, end with a dot or a blank, or are reserved names such as CON. Rename the recordings, type a name label, or remove them from the queue:{1}", // T_ERR_ITEM_NAMES_NO_LABEL
        L"... and {0} more", // T_MORE_ITEMS
        L"result folder gone", // T_RESULT_GONE
        L"The result folder {0} is gone: the output folder was removed or renamed while the recording ran. Run the recording again.", // T_LOG_RESULT_GONE
        L"Log file: {0}", // T_LOG_FILE
        L"Could not write log files to {0}; runs go on without them.", // T_LOG_NO_LOG_FILES
        L"Open log(&L)", // T_MENU_OPEN_LOG
        L"Separating speakers: {0}", // T_POWER_REASON_RUN
        L"Separating speakers: {0} of {1}", // T_POWER_REASON_QUEUE
        L"Queue(&Q)", // T_MENU_QUEUE
        L"Stop after this recording(&T)", // T_MENU_STOP_AFTER
        L"When the queue is done(&W)", // T_MENU_WHEN_DONE
        L"Do nothing(&N)", // T_MENU_DO_NOTHING
        L"Sleep(&S)", // T_MENU_SLEEP
        L"Shut down(&D)", // T_MENU_SHUT_DOWN
        L"The queue is done. The computer goes to sleep in {0} seconds.", // T_COUNTDOWN_SLEEP
        L"The queue is done. The computer shuts down in {0} seconds.", // T_COUNTDOWN_SHUT_DOWN
        L"Sleep now", // T_BTN_SLEEP_NOW
        L"Shut down now", // T_BTN_SHUT_DOWN_NOW
        L"The computer stays on.", // T_LOG_STAYS_ON
        L"The computer goes to sleep now.", // T_LOG_SLEEPING
        L"The computer shuts down now.", // T_LOG_SHUTTING_DOWN
        L"Windows did not allow it; the computer stays on.", // T_LOG_WHEN_DONE_REFUSED
        L"The queue stops after this recording; the others stay waiting.", // T_LOG_STOP_AFTER
        L"The queue goes on after this recording.", // T_LOG_GO_ON
        L"Windows is ending the session: processing is interrupted. A queue goes on when Windows starts the program again.", // T_LOG_SESSION_END
        L"Windows restarted the program: the interrupted recording runs again, then the waiting ones.", // T_LOG_RESUMED
        L"Open program folder(&P)", // T_MENU_OPEN_PROGRAM_FOLDER
        L"No recording in the list is waiting. To run finished ones again, select them and choose Run again in the list's menu.", // T_ERR_NOTHING_WAITS
        L"Separate speakers in the queue", // T_VERB_QUEUE
        L"The window was closed: processing was stopped.", // T_LOG_CLOSED_DURING_RUN
    },
    // Japanese ("ja")
    {
        L"音声話者分離ツール", // T_APP_TITLE
        L"音声/動画ファイル:", // T_LBL_INPUT
        L"参照...", // T_BTN_BROWSE
        L"出力フォルダ:", // T_LBL_OUTPUT
        L"名前ラベル:", // T_LBL_LABEL
        L"文ごとの小クリップも作成", // T_CHK_CLIPS
        L"話者数:", // T_LBL_SPEAKERS
        L"設定...", // T_BTN_SETTINGS
        L"ログ:", // T_LBL_LOG
        L"開始", // T_BTN_OK
        L"キャンセル", // T_BTN_CANCEL
        L"設定(&S)", // T_MENU_SETTINGS
        L"アリババクラウド設定(&A)...", // T_MENU_ACCOUNT
        L"アカウントと言語設定", // T_DLG_TITLE
        L"AccessKey ID:", // T_DLG_KEY_ID
        L"AccessKey Secret:", // T_DLG_KEY_SECRET
        L"Appkey:", // T_DLG_APPKEY
        L"リージョン:", // T_DLG_REGION
        L"OSSバケット:", // T_DLG_BUCKET
        L"表示言語:", // T_DLG_LANG
        L"（アカウント情報は同フォルダの aliyun_config.json に保存されます。認識言語は Aliyun コンソールのモデル設定に依存します。）", // T_DLG_NOTE
        L"OK", // T_DLG_OK
        L"キャンセル", // T_DLG_CANCEL
        L"ファイルが存在しません。再度選択してください。", // T_ERR_NO_FILE
        L"vuruzuz_odurevazu.exe が見つかりません。このプログラムと同じフォルダに配置してください。", // T_ERR_NO_ENGINE
        L"処理プログラムを起動できませんでした。", // T_ERR_START
        L"処理が完了しました。", // T_MSG_DONE
        L"失敗しました（終了コード {0}）。上記のログを確認してください。", // T_MSG_FAILED
        L"キャンセル中です。お待ちください...", // T_MSG_CANCELLING
        L"音声/動画ファイルを選んで「開始」を押してください。アカウントは「設定」で入力できます。", // T_MSG_HINT
        L"処理中です。終了しますか？", // T_ASK_EXIT
        L"AccessKey ID・AccessKey Secret・Appkey・リージョン・OSSバケットは必須です。", // T_ERR_DLG_EMPTY
        L"処理前に「設定」で Aliyun AccessKey ID・AccessKey Secret・Appkey・リージョン・OSSバケットを入力してください。", // T_ERR_NEED_ACCOUNT
        L"処理開始: ", // T_LOG_START
        L"公式サイト", // T_LINK_OFFICIAL
        L"設定を {0} に保存できませんでした。このプログラムを書き込み可能なフォルダに移すか、ファイルを書き込み可能にしてから、もう一度お試しください。", // T_ERR_SAVE_CONFIG
        L"名前ラベルは1つのフォルダ名にしてください。\\ / : * ? \" < > | を含めること、. や .. にすること、末尾をピリオドや空白にすること、CON や NUL などの予約名にすることはできません。", // T_ERR_BAD_LABEL
        L"結果フォルダを作成できないか、開けませんでした: {0}", // T_MSG_OPEN_FAILED
        L"コピー(&C)", // T_MENU_COPY
        L"すべて選択(&A)", // T_MENU_SELECT_ALL
        L"ログを保存(&S)...\tCtrl+S", // T_MENU_SAVE_LOG
        L"ログを消去(&L)", // T_MENU_CLEAR_LOG
        L"（これより前の {0} 行はここに表示されていません。「ログを保存」ですべて保存できます。）", // T_LOG_EARLIER
        L"ログを {0} に保存できませんでした。別の場所を選んで、もう一度お試しください。", // T_ERR_SAVE_LOG
        L"録音", // T_COL_RECORDING
        L"状態", // T_COL_STATE
        L"結果", // T_COL_RESULT
        L"待機中", // T_STATE_WAITING
        L"処理中", // T_STATE_RUNNING
        L"完了", // T_STATE_DONE
        L"失敗", // T_STATE_FAILED
        L"キャンセル済み", // T_STATE_CANCELLED
        L"中断", // T_STATE_INTERRUPTED
        L"削除(&R)\tDel", // T_MENU_REMOVE
        L"結果フォルダを開く(&O)", // T_MENU_OPEN_RESULT
        L"再実行(&A)", // T_MENU_RUN_AGAIN
        L"終了した項目を消去(&F)", // T_MENU_CLEAR_FINISHED
        L"{0} に音声/動画ファイルがありません。", // T_ERR_NO_RECORDINGS
        L"音声/動画ではないファイル {0} 個をスキップしました。", // T_LOG_SKIPPED
        L"キュー終了: 完了 {0}、失敗 {1}、キャンセル {2}、未処理 {3}。", // T_LOG_QUEUE_SUMMARY
        L"フォルダ {0} を読み取れませんでした。", // T_ERR_FOLDER_UNREADABLE
        L"パスが Windows の上限より長いため、スキップしました: {0}", // T_ERR_PATH_TOO_LONG
        L"保存されたキューを読み取れませんでした。{0} として残し、空のキューで開始します。", // T_LOG_QUEUE_BROKEN
        L"キューを {0} に保存できませんでした。一覧はそのままです。再起動後も残すには、ファイルの読み取り専用を解除してください。", // T_LOG_QUEUE_NOT_SAVED
        L"終了コード {0}", // T_RESULT_EXIT_CODE
        L"出力フォルダに CON、NUL、COM1、LPT1 などのデバイス名が含まれているため、フォルダとして使えません。別の出力フォルダを選んでください。", // T_ERR_DEVICE_OUTPUT
        L"このファイル名は結果フォルダ名として使えません。名前ラベルを入力してください。", // T_ERR_NEED_LABEL
        L"これはファイルではなくフォルダです。音声/動画ファイルを選んでください。", // T_ERR_INPUT_IS_FOLDER
        L"名前ラベルが長すぎます。フォルダ名は 255 文字までです。", // T_ERR_LABEL_TOO_LONG
        L"設定ファイルをそのまま読み込めなかったため、使えない項目を既定値に戻しました。元のファイルは {0} として残してあります。", // T_LOG_CONFIG_RESET
        L"設定ファイル {0} は他のプログラムが使用中です。そのプログラムを閉じてから、もう一度お試しください。", // T_ERR_CONFIG_IN_USE
        L"保存されたキュー {0} を今は読み取れません。他のプログラムが使用している可能性があります。ファイルはそのまま残し、読み取れるようになり次第、その項目を一覧に加えます。", // T_LOG_QUEUE_UNREAD
        L"{0} の結果フォルダ名は使えません。名前ラベルを付けると 255 文字を超えるか、末尾がピリオドや空白になるか、CON などの予約名になります。ファイル名か名前ラベルを変更するか、キューから削除してください。", // T_ERR_ITEM_NAME
        L"このプログラムの別のウィンドウがキューを {0} に保存しています。このウィンドウのキューは閉じると残りません。", // T_LOG_QUEUE_ELSEWHERE
        L"録音のパス、出力フォルダ、名前ラベルを合わせると、Windows が処理プログラムのコマンドラインに許す長さ（32,767 文字）を超えます。より短い出力フォルダか名前ラベルを選んでください。", // T_ERR_COMMAND_TOO_LONG
        L"出力フォルダ {0} は使えません。その中にフォルダを作成できません（ファイルである、存在しないドライブ上にある、または読み取り専用の可能性があります）。別の出力フォルダを選んでください。", // T_ERR_OUTPUT_UNUSABLE
        L"コマンドラインで指定された録音のうち {0} 個は既に一覧にあり、もう一度処理します。", // T_LOG_NAMED_AGAIN
        L"以前から待機していた {0} 個の録音は待機したままです。処理するには「開始」を押してください。", // T_LOG_LEFT_WAITING
        L"このプログラムの別のウィンドウがキューを {0} に保存しています。このウィンドウの一覧にある {1} 個の録音は残りません。閉じてもよろしいですか？", // T_ASK_QUEUE_NOT_KEPT
        L"このウィンドウがキューを {0} に保存するようになりました。そこに保存されていた録音を一覧に加えました。", // T_LOG_QUEUE_TAKEN_OVER
        L"録音を追加しています... これまでに {0} 個", // T_LIST_ADDING
        L"保存されたキューのうち {0} 項目を読み取れなかったため除外しました（最初の項目: {1}）。元のファイルは {2} として残しています。", // T_LOG_QUEUE_ITEMS_DROPPED
        L"{0} 番目の項目", // T_QUEUE_ENTRY
        L"{0} はファイルではなくフォルダのため、キューを保存できません。再起動後もキューを残すには、そのフォルダの名前を変えるか削除してください。", // T_LOG_QUEUE_IS_FOLDER
        L"キューを {0} に保存できませんでした。ディスクがいっぱいです。一覧はそのままです。再起動後も残すには、ディスクの空き領域を増やしてください。", // T_LOG_QUEUE_DISK_FULL
        L"{0} の結果フォルダ名は使えません。ファイル名が 255 文字を超えるか、末尾がピリオドや空白であるか、CON などの予約名です。ファイル名を変更するか、名前ラベルを入力するか、キューから削除してください。", // T_ERR_ITEM_NAME_NO_LABEL
        L"{0} 個の録音の結果フォルダ名は使えません。名前ラベルを付けると 255 文字を超えるか、末尾がピリオドや空白になるか、CON などの予約名になります。ファイル名か名前ラベルを変更するか、キューから削除してください:{1}", // T_ERR_ITEM_NAMES
        L"{0} 個の録音の結果フォルダ名は使えません。ファイル名が 255 文字を超えるか、末尾がピリオドや空白であるか、CON などの予約名です。ファイル名を変更するか、名前ラベルを入力するか、キューから削除してください:{1}", // T_ERR_ITEM_NAMES_NO_LABEL
        L"...ほか {0} 個", // T_MORE_ITEMS
        L"結果フォルダがありません", // T_RESULT_GONE
        L"結果フォルダ {0} がありません。処理中に出力フォルダが削除されたか、名前が変更されました。録音をもう一度処理してください。", // T_LOG_RESULT_GONE
        L"ログファイル: {0}", // T_LOG_FILE
        L"{0} にログファイルを書き込めません。ログファイルなしで処理を続けます。", // T_LOG_NO_LOG_FILES
        L"ログを開く(&L)", // T_MENU_OPEN_LOG
        L"話者を分離しています: {0}", // T_POWER_REASON_RUN
        L"話者を分離しています: {0} / {1}", // T_POWER_REASON_QUEUE
        L"キュー(&Q)", // T_MENU_QUEUE
        L"この録音の後で停止(&T)", // T_MENU_STOP_AFTER
        L"キュー完了後(&W)", // T_MENU_WHEN_DONE
        L"何もしない(&N)", // T_MENU_DO_NOTHING
        L"スリープ(&S)", // T_MENU_SLEEP
        L"シャットダウン(&D)", // T_MENU_SHUT_DOWN
        L"キューが完了しました。{0} 秒後にコンピューターをスリープします。", // T_COUNTDOWN_SLEEP
        L"キューが完了しました。{0} 秒後にコンピューターをシャットダウンします。", // T_COUNTDOWN_SHUT_DOWN
        L"今すぐスリープ", // T_BTN_SLEEP_NOW
        L"今すぐシャットダウン", // T_BTN_SHUT_DOWN_NOW
        L"コンピューターはそのままにします。", // T_LOG_STAYS_ON
        L"コンピューターをスリープします。", // T_LOG_SLEEPING
        L"コンピューターをシャットダウンします。", // T_LOG_SHUTTING_DOWN
        L"Windows が許可しなかったため、コンピューターはそのままです。", // T_LOG_WHEN_DONE_REFUSED
        L"この録音の後でキューを停止します。残りは待機したままです。", // T_LOG_STOP_AFTER
        L"この録音の後もキューを続けます。", // T_LOG_GO_ON
        L"Windows がセッションを終了しています。処理を中断しました。Windows がプログラムを再起動すると、キューを続けます。", // T_LOG_SESSION_END
        L"Windows がプログラムを再起動しました。中断された録音をもう一度処理し、次に待機中の録音を処理します。", // T_LOG_RESUMED
        L"プログラムのフォルダを開く(&P)", // T_MENU_OPEN_PROGRAM_FOLDER
        L"一覧に待機中の録音がありません。終わった録音をもう一度処理するには、選んで一覧のメニューから「再実行」を選んでください。", // T_ERR_NOTHING_WAITS
        L"話者分離のキューに追加", // T_VERB_QUEUE
        L"ウィンドウが閉じられたため、処理を停止しました。", // T_LOG_CLOSED_DURING_RUN
    },
    // Korean ("ko")
    {
        L"화자 분리 도구", // T_APP_TITLE
        L"오디오/비디오 파일:", // T_LBL_INPUT
        L"찾아보기...", // T_BTN_BROWSE
        L"출력 폴더:", // T_LBL_OUTPUT
        L"이름 라벨:", // T_LBL_LABEL
        L"문장별 클립도 생성", // T_CHK_CLIPS
        L"화자 수:", // T_LBL_SPEAKERS
        L"설정...", // T_BTN_SETTINGS
        L"로그:", // T_LBL_LOG
        L"확인", // T_BTN_OK
        L"취소", // T_BTN_CANCEL
        L"설정(&S)", // T_MENU_SETTINGS
        L"알리바바 클라우드 설정(&A)...", // T_MENU_ACCOUNT
        L"계정 및 언어 설정", // T_DLG_TITLE
        L"AccessKey ID:", // T_DLG_KEY_ID
        L"AccessKey Secret:", // T_DLG_KEY_SECRET
        L"Appkey:", // T_DLG_APPKEY
        L"리전:", // T_DLG_REGION
        L"OSS 버킷:", // T_DLG_BUCKET
        L"UI 언어:", // T_DLG_LANG
        L"（계정 정보는 이 폴더의 aliyun_config.json에 저장됩니다. 인식 언어는 Aliyun 콘솔 모델 설정에 따라 결정됩니다.）", // T_DLG_NOTE
        L"확인", // T_DLG_OK
        L"취소", // T_DLG_CANCEL
        L"파일이 없습니다. 다시 선택하세요.", // T_ERR_NO_FILE
        L"vuruzuz_odurevazu.exe를 찾을 수 없습니다. 이 프로그램과 같은 폴더에 두세요.", // T_ERR_NO_ENGINE
        L"처리 프로그램을 시작하지 못했습니다.", // T_ERR_START
        L"처리가 완료되었습니다.", // T_MSG_DONE
        L"실패했습니다(종료 코드 {0}). 위 로그를 확인하세요.", // T_MSG_FAILED
        L"취소 중입니다. 잠시 기다려 주세요...", // T_MSG_CANCELLING
        L"오디오/비디오 파일을 선택하고 [확인]을 누르세요. 계정 정보는 [설정]에서 입력할 수 있습니다.", // T_MSG_HINT
        L"처리 중입니다. 종료하시겠습니까?", // T_ASK_EXIT
        L"AccessKey ID, AccessKey Secret, Appkey, 리전, OSS 버킷은 필수입니다.", // T_ERR_DLG_EMPTY
        L"처리 전에 설정에서 Aliyun AccessKey ID, AccessKey Secret, Appkey, 리전, OSS 버킷을 입력하세요.", // T_ERR_NEED_ACCOUNT
        L"처리 시작: ", // T_LOG_START
        L"공식 사이트", // T_LINK_OFFICIAL
        L"설정을 {0}에 저장하지 못했습니다. 이 프로그램을 쓰기 가능한 폴더로 옮기거나 파일을 쓰기 가능하게 한 뒤 다시 시도하세요.", // T_ERR_SAVE_CONFIG
        L"이름 라벨은 하나의 폴더 이름이어야 합니다. \\ / : * ? \" < > |를 포함하거나, . 또는 ..이거나, 마침표나 공백으로 끝나거나, CON, NUL 같은 예약된 이름일 수 없습니다.", // T_ERR_BAD_LABEL
        L"결과 폴더를 만들거나 열지 못했습니다: {0}", // T_MSG_OPEN_FAILED
        L"복사(&C)", // T_MENU_COPY
        L"모두 선택(&A)", // T_MENU_SELECT_ALL
        L"로그 저장(&S)...\tCtrl+S", // T_MENU_SAVE_LOG
        L"로그 지우기(&L)", // T_MENU_CLEAR_LOG
        L"（이전 {0}줄은 여기에 표시되지 않습니다. [로그 저장]으로 모두 저장할 수 있습니다.）", // T_LOG_EARLIER
        L"로그를 {0}에 저장하지 못했습니다. 다른 위치를 선택한 뒤 다시 시도하세요.", // T_ERR_SAVE_LOG
        L"녹음", // T_COL_RECORDING
        L"상태", // T_COL_STATE
        L"결과", // T_COL_RESULT
        L"대기 중", // T_STATE_WAITING
        L"처리 중", // T_STATE_RUNNING
        L"완료", // T_STATE_DONE
        L"실패", // T_STATE_FAILED
        L"취소됨", // T_STATE_CANCELLED
        L"중단됨", // T_STATE_INTERRUPTED
        L"제거(&R)\tDel", // T_MENU_REMOVE
        L"결과 폴더 열기(&O)", // T_MENU_OPEN_RESULT
        L"다시 실행(&A)", // T_MENU_RUN_AGAIN
        L"끝난 항목 지우기(&F)", // T_MENU_CLEAR_FINISHED
        L"{0}에 오디오/비디오 파일이 없습니다.", // T_ERR_NO_RECORDINGS
        L"오디오/비디오가 아닌 파일 {0}개를 건너뛰었습니다.", // T_LOG_SKIPPED
        L"대기열 종료: 완료 {0}, 실패 {1}, 취소 {2}, 미처리 {3}.", // T_LOG_QUEUE_SUMMARY
        L"폴더 {0}을(를) 읽을 수 없습니다.", // T_ERR_FOLDER_UNREADABLE
        L"경로가 Windows 허용 길이보다 길어 건너뛰었습니다: {0}", // T_ERR_PATH_TOO_LONG
        L"저장된 대기열을 읽을 수 없어 {0}(으)로 보관했습니다. 빈 대기열로 시작합니다.", // T_LOG_QUEUE_BROKEN
        L"대기열을 {0}에 저장하지 못했습니다. 목록은 그대로입니다. 다시 시작한 뒤에도 유지하려면 파일의 읽기 전용 속성을 해제하세요.", // T_LOG_QUEUE_NOT_SAVED
        L"종료 코드 {0}", // T_RESULT_EXIT_CODE
        L"출력 폴더에 CON, NUL, COM1, LPT1 같은 장치 이름이 들어 있어 폴더로 쓸 수 없습니다. 다른 출력 폴더를 선택하세요.", // T_ERR_DEVICE_OUTPUT
        L"이 파일 이름은 결과 폴더 이름으로 쓸 수 없습니다. 이름 라벨을 입력하세요.", // T_ERR_NEED_LABEL
        L"파일이 아니라 폴더입니다. 오디오/비디오 파일을 선택하세요.", // T_ERR_INPUT_IS_FOLDER
        L"이름 라벨이 너무 깁니다. 폴더 이름은 최대 255자입니다.", // T_ERR_LABEL_TOO_LONG
        L"설정 파일을 그대로 읽을 수 없어 쓸 수 없는 항목을 기본값으로 되돌렸습니다. 원래 파일은 {0}(으)로 보관했습니다.", // T_LOG_CONFIG_RESET
        L"설정 파일 {0}을(를) 다른 프로그램이 사용 중입니다. 그 프로그램을 닫은 뒤 다시 시도하세요.", // T_ERR_CONFIG_IN_USE
        L"저장된 대기열 {0}을(를) 지금은 읽을 수 없습니다. 다른 프로그램이 사용 중일 수 있습니다. 파일은 그대로 두며, 읽을 수 있게 되는 즉시 그 항목을 목록에 추가합니다.", // T_LOG_QUEUE_UNREAD
        L"{0}의 결과 폴더 이름을 쓸 수 없습니다. 이름 라벨을 붙이면 255자를 넘거나, 마침표나 공백으로 끝나거나, CON 같은 예약된 이름이 됩니다. 파일 이름이나 이름 라벨을 바꾸거나, 대기열에서 제거하세요.", // T_ERR_ITEM_NAME
        L"이 프로그램의 다른 창이 대기열을 {0}에 보관하고 있습니다. 이 창의 대기열은 창을 닫으면 유지되지 않습니다.", // T_LOG_QUEUE_ELSEWHERE
        L"녹음 경로, 출력 폴더, 이름 라벨을 합친 길이가 Windows가 처리 프로그램의 명령줄에 허용하는 길이(32,767자)를 넘습니다. 더 짧은 출력 폴더나 이름 라벨을 선택하세요.", // T_ERR_COMMAND_TOO_LONG
        L"출력 폴더 {0}을(를) 사용할 수 없습니다. 그 안에 폴더를 만들 수 없습니다(파일이거나, 없는 드라이브에 있거나, 읽기 전용일 수 있습니다). 다른 출력 폴더를 선택하세요.", // T_ERR_OUTPUT_UNUSABLE
        L"명령줄에서 지정한 녹음 중 {0}개는 이미 목록에 있어 다시 처리합니다.", // T_LOG_NAMED_AGAIN
        L"이전부터 대기 중이던 녹음 {0}개는 계속 대기합니다. 처리하려면 [확인]을 누르세요.", // T_LOG_LEFT_WAITING
        L"이 프로그램의 다른 창이 대기열을 {0}에 보관하고 있습니다. 이 창 목록의 녹음 {1}개는 유지되지 않습니다. 그래도 닫으시겠습니까?", // T_ASK_QUEUE_NOT_KEPT
        L"이제 이 창이 대기열을 {0}에 보관합니다. 그곳에 저장된 녹음이 목록에 추가되었습니다.", // T_LOG_QUEUE_TAKEN_OVER
        L"녹음을 추가하는 중... 지금까지 {0}개", // T_LIST_ADDING
        L"저장된 대기열의 항목 {0}개를 읽을 수 없어 제외했습니다(첫 항목: {1}). 원래 파일은 {2}(으)로 보관했습니다.", // T_LOG_QUEUE_ITEMS_DROPPED
        L"{0}번째 항목", // T_QUEUE_ENTRY
        L"{0}은(는) 파일이 아니라 폴더이므로 대기열을 그곳에 보관할 수 없습니다. 다시 시작한 뒤에도 대기열을 유지하려면 그 폴더의 이름을 바꾸거나 삭제하세요.", // T_LOG_QUEUE_IS_FOLDER
        L"대기열을 {0}에 저장하지 못했습니다. 디스크가 가득 찼습니다. 목록은 그대로입니다. 다시 시작한 뒤에도 유지하려면 디스크 공간을 확보하세요.", // T_LOG_QUEUE_DISK_FULL
        L"{0}의 결과 폴더 이름을 쓸 수 없습니다. 파일 이름이 255자를 넘거나, 마침표나 공백으로 끝나거나, CON 같은 예약된 이름입니다. 파일 이름을 바꾸거나, 이름 라벨을 입력하거나, 대기열에서 제거하세요.", // T_ERR_ITEM_NAME_NO_LABEL
        L"녹음 {0}개의 결과 폴더 이름을 쓸 수 없습니다. 이름 라벨을 붙이면 255자를 넘거나, 마침표나 공백으로 끝나거나, CON 같은 예약된 이름이 됩니다. 파일 이름이나 이름 라벨을 바꾸거나, 대기열에서 제거하세요:{1}", // T_ERR_ITEM_NAMES
        L"녹음 {0}개의 결과 폴더 이름을 쓸 수 없습니다. 파일 이름이 255자를 넘거나, 마침표나 공백으로 끝나거나, CON 같은 예약된 이름입니다. 파일 이름을 바꾸거나, 이름 라벨을 입력하거나, 대기열에서 제거하세요:{1}", // T_ERR_ITEM_NAMES_NO_LABEL
        L"... 외 {0}개", // T_MORE_ITEMS
        L"결과 폴더 없음", // T_RESULT_GONE
        L"결과 폴더 {0}이(가) 없습니다. 처리 중에 출력 폴더가 삭제되었거나 이름이 바뀌었습니다. 녹음을 다시 처리하세요.", // T_LOG_RESULT_GONE
        L"로그 파일: {0}", // T_LOG_FILE
        L"{0}에 로그 파일을 쓸 수 없습니다. 로그 파일 없이 처리를 계속합니다.", // T_LOG_NO_LOG_FILES
        L"로그 열기(&L)", // T_MENU_OPEN_LOG
        L"화자를 분리하는 중: {0}", // T_POWER_REASON_RUN
        L"화자를 분리하는 중: {0}/{1}", // T_POWER_REASON_QUEUE
        L"대기열(&Q)", // T_MENU_QUEUE
        L"이 녹음 후 중지(&T)", // T_MENU_STOP_AFTER
        L"대기열이 끝나면(&W)", // T_MENU_WHEN_DONE
        L"아무것도 하지 않음(&N)", // T_MENU_DO_NOTHING
        L"절전(&S)", // T_MENU_SLEEP
        L"시스템 종료(&D)", // T_MENU_SHUT_DOWN
        L"대기열이 끝났습니다. {0}초 후 컴퓨터가 절전 모드로 전환됩니다.", // T_COUNTDOWN_SLEEP
        L"대기열이 끝났습니다. {0}초 후 컴퓨터가 종료됩니다.", // T_COUNTDOWN_SHUT_DOWN
        L"지금 절전", // T_BTN_SLEEP_NOW
        L"지금 종료", // T_BTN_SHUT_DOWN_NOW
        L"컴퓨터를 켜 둡니다.", // T_LOG_STAYS_ON
        L"컴퓨터를 절전 모드로 전환합니다.", // T_LOG_SLEEPING
        L"컴퓨터를 종료합니다.", // T_LOG_SHUTTING_DOWN
        L"Windows가 허용하지 않아 컴퓨터를 켜 둡니다.", // T_LOG_WHEN_DONE_REFUSED
        L"이 녹음 후 대기열을 중지합니다. 나머지는 계속 대기합니다.", // T_LOG_STOP_AFTER
        L"이 녹음 후에도 대기열을 계속합니다.", // T_LOG_GO_ON
        L"Windows가 세션을 종료하고 있습니다. 처리를 중단했습니다. Windows가 프로그램을 다시 시작하면 대기열을 계속합니다.", // T_LOG_SESSION_END
        L"Windows가 프로그램을 다시 시작했습니다. 중단된 녹음을 다시 처리한 뒤 대기 중인 녹음을 처리합니다.", // T_LOG_RESUMED
        L"프로그램 폴더 열기(&P)", // T_MENU_OPEN_PROGRAM_FOLDER
        L"목록에 대기 중인 녹음이 없습니다. 끝난 녹음을 다시 처리하려면 선택한 뒤 목록 메뉴에서 [다시 실행]을 선택하세요.", // T_ERR_NOTHING_WAITS
        L"화자 분리 대기열에 추가", // T_VERB_QUEUE
        L"창이 닫혀 처리를 중지했습니다.", // T_LOG_CLOSED_DURING_RUN
    },
    // German ("de")
    {
        L"Sprecher-Trennung", // T_APP_TITLE
        L"Audio-/Videodatei:", // T_LBL_INPUT
        L"Durchsuchen...", // T_BTN_BROWSE
        L"Ausgabeordner:", // T_LBL_OUTPUT
        L"Namenslabel:", // T_LBL_LABEL
        L"Zusätzlich Clips pro Satz erzeugen", // T_CHK_CLIPS
        L"Sprecheranzahl:", // T_LBL_SPEAKERS
        L"Einstellungen...", // T_BTN_SETTINGS
        L"Protokoll:", // T_LBL_LOG
        L"OK", // T_BTN_OK
        L"Abbrechen", // T_BTN_CANCEL
        L"Einstellungen(&S)", // T_MENU_SETTINGS
        L"Aliyun-Kontoeinstellungen(&A)...", // T_MENU_ACCOUNT
        L"Konto- und Spracheinstellungen", // T_DLG_TITLE
        L"AccessKey ID:", // T_DLG_KEY_ID
        L"AccessKey Secret:", // T_DLG_KEY_SECRET
        L"Appkey:", // T_DLG_APPKEY
        L"Region:", // T_DLG_REGION
        L"OSS-Bucket:", // T_DLG_BUCKET
        L"Sprache:", // T_DLG_LANG
        L"(Kontoinformationen werden in aliyun_config.json in diesem Ordner gespeichert. Die Erkennungssprache wird im Aliyun-Konsolenmodell festgelegt.)", // T_DLG_NOTE
        L"OK", // T_DLG_OK
        L"Abbrechen", // T_DLG_CANCEL
        L"Datei nicht gefunden. Bitte erneut auswählen.", // T_ERR_NO_FILE
        L"vuruzuz_odurevazu.exe nicht gefunden. Legen Sie sie in denselben Ordner wie dieses Programm.", // T_ERR_NO_ENGINE
        L"Start des Verarbeitungsprogramms fehlgeschlagen.", // T_ERR_START
        L"Fertig.", // T_MSG_DONE
        L"Fehlgeschlagen, Exit-Code {0}. Siehe Protokoll oben.", // T_MSG_FAILED
        L"Wird abgebrochen...", // T_MSG_CANCELLING
        L"Wählen Sie eine Audio-/Videodatei und klicken Sie auf OK. Kontodaten können in den Einstellungen eingegeben werden.", // T_MSG_HINT
        L"Verarbeitung läuft. Trotzdem beenden?", // T_ASK_EXIT
        L"AccessKey ID, AccessKey Secret, Appkey, Region und OSS-Bucket dürfen nicht leer sein.", // T_ERR_DLG_EMPTY
        L"Bitte tragen Sie AccessKey ID, AccessKey Secret, Appkey, Region und OSS-Bucket in den Einstellungen ein, bevor Sie fortfahren.", // T_ERR_NEED_ACCOUNT
        L"Verarbeitung startet: ", // T_LOG_START
        L"Offizielle Website", // T_LINK_OFFICIAL
        L"Die Einstellungen konnten nicht in {0} gespeichert werden. Verschieben Sie dieses Programm in einen Ordner mit Schreibrechten oder machen Sie die Datei beschreibbar und versuchen Sie es erneut.", // T_ERR_SAVE_CONFIG
        L"Das Namenslabel muss ein einzelner Ordnername sein: Es darf \\ / : * ? \" < > | nicht enthalten, nicht . oder .. sein, nicht auf Punkt oder Leerzeichen enden und kein reservierter Name wie CON oder NUL sein.", // T_ERR_BAD_LABEL
        L"Der Ergebnisordner konnte nicht erstellt oder geöffnet werden: {0}", // T_MSG_OPEN_FAILED
        L"Kopieren(&K)", // T_MENU_COPY
        L"Alles markieren(&A)", // T_MENU_SELECT_ALL
        L"Protokoll speichern(&S)...\tStrg+S", // T_MENU_SAVE_LOG
        L"Protokoll leeren(&L)", // T_MENU_CLEAR_LOG
        L"({0} frühere Zeilen werden hier nicht angezeigt. „Protokoll speichern“ sichert sie alle.)", // T_LOG_EARLIER
        L"Das Protokoll konnte nicht unter {0} gespeichert werden. Wählen Sie einen anderen Ort und versuchen Sie es erneut.", // T_ERR_SAVE_LOG
        L"Aufnahme", // T_COL_RECORDING
        L"Status", // T_COL_STATE
        L"Ergebnis", // T_COL_RESULT
        L"Wartet", // T_STATE_WAITING
        L"Läuft", // T_STATE_RUNNING
        L"Fertig", // T_STATE_DONE
        L"Fehlgeschlagen", // T_STATE_FAILED
        L"Abgebrochen", // T_STATE_CANCELLED
        L"Unterbrochen", // T_STATE_INTERRUPTED
        L"Entfernen(&R)\tEntf", // T_MENU_REMOVE
        L"Ergebnisordner öffnen(&O)", // T_MENU_OPEN_RESULT
        L"Erneut ausführen(&A)", // T_MENU_RUN_AGAIN
        L"Beendete entfernen(&F)", // T_MENU_CLEAR_FINISHED
        L"{0} enthält keine Audio-/Videodateien.", // T_ERR_NO_RECORDINGS
        L"{0} Dateien wurden übersprungen: Es sind keine Audio-/Videodateien.", // T_LOG_SKIPPED
        L"Warteschlange beendet: {0} fertig, {1} fehlgeschlagen, {2} abgebrochen, {3} nicht ausgeführt.", // T_LOG_QUEUE_SUMMARY
        L"Der Ordner {0} konnte nicht gelesen werden.", // T_ERR_FOLDER_UNREADABLE
        L"Der Pfad ist länger, als Windows erlaubt, und wurde übersprungen: {0}", // T_ERR_PATH_TOO_LONG
        L"Die gespeicherte Warteschlange war nicht lesbar. Sie wurde als {0} aufbewahrt, und die Warteschlange beginnt leer.", // T_LOG_QUEUE_BROKEN
        L"Die Warteschlange konnte nicht unter {0} gespeichert werden. Die Liste bleibt, wie sie ist; damit sie einen Neustart übersteht, heben Sie den Schreibschutz der Datei auf.", // T_LOG_QUEUE_NOT_SAVED
        L"Exitcode {0}", // T_RESULT_EXIT_CODE
        L"Der Ausgabeordner enthält einen Gerätenamen wie CON, NUL, COM1 oder LPT1, der kein Ordner sein kann. Wählen Sie einen anderen Ausgabeordner.", // T_ERR_DEVICE_OUTPUT
        L"Der Name der Aufnahme kann nicht als Ordnername dienen. Geben Sie bitte ein Namenslabel ein.", // T_ERR_NEED_LABEL
        L"Das ist ein Ordner, keine Datei. Wählen Sie eine Audio- oder Videodatei.", // T_ERR_INPUT_IS_FOLDER
        L"Das Namenslabel ist zu lang: Ein Ordnername darf höchstens 255 Zeichen haben.", // T_ERR_LABEL_TOO_LONG
        L"Die Einstellungsdatei konnte nicht so gelesen werden, wie sie war; was nicht verwendbar war, steht wieder auf dem Standardwert, und die Datei wurde als {0} aufbewahrt.", // T_LOG_CONFIG_RESET
        L"Die Einstellungsdatei {0} wird von einem anderen Programm verwendet. Schließen Sie dieses Programm und versuchen Sie es erneut.", // T_ERR_CONFIG_IN_USE
        L"Die gespeicherte Warteschlange {0} ist gerade nicht lesbar; vielleicht verwendet sie ein anderes Programm. Die Datei bleibt, wie sie ist, und ihre Aufnahmen kommen in die Liste, sobald sie lesbar ist.", // T_LOG_QUEUE_UNREAD
        L"Der Ergebnisordnername für {0} ist nicht möglich: Mit dem Namenslabel ist er länger als 255 Zeichen, endet auf Punkt oder Leerzeichen oder ist ein reservierter Name wie CON. Benennen Sie die Aufnahme um, ändern Sie das Namenslabel oder entfernen Sie die Aufnahme aus der Warteschlange.", // T_ERR_ITEM_NAME
        L"Ein anderes Fenster dieses Programms führt die Warteschlange in {0}. Die Warteschlange dieses Fensters bleibt nach dem Schließen nicht erhalten.", // T_LOG_QUEUE_ELSEWHERE
        L"Pfad der Aufnahme, Ausgabeordner und Namenslabel sind zusammen länger, als Windows für die Befehlszeile des Verarbeitungsprogramms erlaubt (32.767 Zeichen). Wählen Sie einen kürzeren Ausgabeordner oder ein kürzeres Namenslabel.", // T_ERR_COMMAND_TOO_LONG
        L"Der Ausgabeordner {0} ist nicht verwendbar: Darin lässt sich kein Ordner anlegen (er ist vielleicht eine Datei, liegt auf einem nicht vorhandenen Laufwerk oder ist schreibgeschützt). Wählen Sie einen anderen Ausgabeordner.", // T_ERR_OUTPUT_UNUSABLE
        L"Auf der Befehlszeile angegebene Aufnahmen, die schon in der Liste standen, werden erneut verarbeitet: {0}.", // T_LOG_NAMED_AGAIN
        L"Aufnahmen, die schon vorher warteten, warten weiter: {0}. Klicken Sie auf OK, um sie zu verarbeiten.", // T_LOG_LEFT_WAITING
        L"Ein anderes Fenster dieses Programms führt die Warteschlange in {0}. Die {1} Aufnahmen in der Liste dieses Fensters bleiben nicht erhalten. Trotzdem schließen?", // T_ASK_QUEUE_NOT_KEPT
        L"Dieses Fenster führt die Warteschlange jetzt in {0}; die dort gespeicherten Aufnahmen kommen in seine Liste.", // T_LOG_QUEUE_TAKEN_OVER
        L"Aufnahmen werden hinzugefügt ... bisher {0} gefunden", // T_LIST_ADDING
        L"{0} Einträge der gespeicherten Warteschlange waren nicht lesbar und wurden ausgelassen, als erster {1}. Die Datei, wie sie war, ist als {2} aufbewahrt.", // T_LOG_QUEUE_ITEMS_DROPPED
        L"Eintrag {0}", // T_QUEUE_ENTRY
        L"{0} ist ein Ordner, keine Datei; die Warteschlange kann dort nicht gespeichert werden. Benennen Sie den Ordner um oder entfernen Sie ihn, damit die Warteschlange einen Neustart übersteht.", // T_LOG_QUEUE_IS_FOLDER
        L"Die Warteschlange konnte nicht unter {0} gespeichert werden: Der Datenträger ist voll. Die Liste bleibt, wie sie ist; damit sie einen Neustart übersteht, schaffen Sie Platz.", // T_LOG_QUEUE_DISK_FULL
        L"Der Ergebnisordnername für {0} ist nicht möglich: Der Name der Aufnahme ist länger als 255 Zeichen, endet auf Punkt oder Leerzeichen oder ist ein reservierter Name wie CON. Benennen Sie die Aufnahme um, geben Sie ein Namenslabel ein oder entfernen Sie die Aufnahme aus der Warteschlange.", // T_ERR_ITEM_NAME_NO_LABEL
        L"Die Ergebnisordnernamen für {0} Aufnahmen sind nicht möglich: Mit dem Namenslabel sind sie länger als 255 Zeichen, enden auf Punkt oder Leerzeichen oder sind reservierte Namen wie CON. Benennen Sie die Aufnahmen um, ändern Sie das Namenslabel oder entfernen Sie sie aus der Warteschlange:{1}", // T_ERR_ITEM_NAMES
        L"Die Ergebnisordnernamen für {0} Aufnahmen sind nicht möglich: Die Namen der Aufnahmen sind länger als 255 Zeichen, enden auf Punkt oder Leerzeichen oder sind reservierte Namen wie CON. Benennen Sie die Aufnahmen um, geben Sie ein Namenslabel ein oder entfernen Sie sie aus der Warteschlange:{1}", // T_ERR_ITEM_NAMES_NO_LABEL
        L"... und {0} weitere", // T_MORE_ITEMS
        L"Ergebnisordner fehlt", // T_RESULT_GONE
        L"Der Ergebnisordner {0} ist nicht mehr da: Der Ausgabeordner wurde während der Verarbeitung entfernt oder umbenannt. Verarbeiten Sie die Aufnahme erneut.", // T_LOG_RESULT_GONE
        L"Protokolldatei: {0}", // T_LOG_FILE
        L"Protokolldateien können nicht in {0} geschrieben werden; die Verarbeitung läuft ohne sie weiter.", // T_LOG_NO_LOG_FILES
        L"Protokoll öffnen(&L)", // T_MENU_OPEN_LOG
        L"Sprecher werden getrennt: {0}", // T_POWER_REASON_RUN
        L"Sprecher werden getrennt: {0} von {1}", // T_POWER_REASON_QUEUE
        L"Warteschlange(&Q)", // T_MENU_QUEUE
        L"Nach dieser Aufnahme anhalten(&T)", // T_MENU_STOP_AFTER
        L"Wenn die Warteschlange fertig ist(&W)", // T_MENU_WHEN_DONE
        L"Nichts tun(&N)", // T_MENU_DO_NOTHING
        L"Energie sparen(&S)", // T_MENU_SLEEP
        L"Herunterfahren(&D)", // T_MENU_SHUT_DOWN
        L"Die Warteschlange ist fertig. Der Computer wechselt in {0} Sekunden in den Energiesparmodus.", // T_COUNTDOWN_SLEEP
        L"Die Warteschlange ist fertig. Der Computer wird in {0} Sekunden heruntergefahren.", // T_COUNTDOWN_SHUT_DOWN
        L"Jetzt Energie sparen", // T_BTN_SLEEP_NOW
        L"Jetzt herunterfahren", // T_BTN_SHUT_DOWN_NOW
        L"Der Computer bleibt an.", // T_LOG_STAYS_ON
        L"Der Computer wechselt jetzt in den Energiesparmodus.", // T_LOG_SLEEPING
        L"Der Computer wird jetzt heruntergefahren.", // T_LOG_SHUTTING_DOWN
        L"Windows hat es nicht erlaubt; der Computer bleibt an.", // T_LOG_WHEN_DONE_REFUSED
        L"Die Warteschlange hält nach dieser Aufnahme an; die übrigen warten weiter.", // T_LOG_STOP_AFTER
        L"Die Warteschlange läuft nach dieser Aufnahme weiter.", // T_LOG_GO_ON
        L"Windows beendet die Sitzung: Die Verarbeitung wird unterbrochen. Eine Warteschlange läuft weiter, wenn Windows das Programm wieder startet.", // T_LOG_SESSION_END
        L"Windows hat das Programm wieder gestartet: Die unterbrochene Aufnahme wird erneut verarbeitet, dann die wartenden.", // T_LOG_RESUMED
        L"Programmordner öffnen(&P)", // T_MENU_OPEN_PROGRAM_FOLDER
        L"In der Liste wartet keine Aufnahme. Um abgeschlossene erneut zu verarbeiten, wählen Sie sie aus und dann im Menü der Liste „Erneut ausführen“.", // T_ERR_NOTHING_WAITS
        L"In der Warteschlange Sprecher trennen", // T_VERB_QUEUE
        L"Das Fenster wurde geschlossen: Die Verarbeitung wurde beendet.", // T_LOG_CLOSED_DURING_RUN
    },
    // French ("fr")
    {
        L"Séparation de locuteurs", // T_APP_TITLE
        L"Fichier audio/vidéo :", // T_LBL_INPUT
        L"Parcourir...", // T_BTN_BROWSE
        L"Dossier de sortie :", // T_LBL_OUTPUT
        L"Étiquette du nom :", // T_LBL_LABEL
        L"Créer aussi des extraits par phrase", // T_CHK_CLIPS
        L"Nombre de locuteurs :", // T_LBL_SPEAKERS
        L"Paramètres...", // T_BTN_SETTINGS
        L"Journal :", // T_LBL_LOG
        L"OK", // T_BTN_OK
        L"Annuler", // T_BTN_CANCEL
        L"Paramètres(&S)", // T_MENU_SETTINGS
        L"Paramètres du compte Aliyun(&A)...", // T_MENU_ACCOUNT
        L"Paramètres du compte et de la langue", // T_DLG_TITLE
        L"AccessKey ID :", // T_DLG_KEY_ID
        L"AccessKey Secret :", // T_DLG_KEY_SECRET
        L"Appkey :", // T_DLG_APPKEY
        L"Région :", // T_DLG_REGION
        L"Bucket OSS :", // T_DLG_BUCKET
        L"Langue de l'interface :", // T_DLG_LANG
        L"(Les informations du compte sont enregistrées dans aliyun_config.json de ce dossier. La langue de reconnaissance dépend du modèle configuré dans la console Aliyun.)", // T_DLG_NOTE
        L"OK", // T_DLG_OK
        L"Annuler", // T_DLG_CANCEL
        L"Fichier introuvable. Veuillez en choisir un autre.", // T_ERR_NO_FILE
        L"vuruzuz_odurevazu.exe introuvable. Placez-le dans le même dossier que ce programme.", // T_ERR_NO_ENGINE
        L"Impossible de démarrer le programme de traitement.", // T_ERR_START
        L"Terminé.", // T_MSG_DONE
        L"Échec, code {0}. Voir le journal ci-dessus.", // T_MSG_FAILED
        L"Annulation en cours...", // T_MSG_CANCELLING
        L"Choisissez un fichier audio/vidéo et cliquez sur OK. Les informations du compte se règlent dans Paramètres.", // T_MSG_HINT
        L"Traitement en cours. Quitter quand même ?", // T_ASK_EXIT
        L"AccessKey ID, AccessKey Secret, Appkey, région et bucket OSS ne peuvent pas être vides.", // T_ERR_DLG_EMPTY
        L"Veuillez saisir AccessKey ID, AccessKey Secret, Appkey, région et bucket OSS dans Paramètres avant de continuer.", // T_ERR_NEED_ACCOUNT
        L"Début du traitement : ", // T_LOG_START
        L"Site officiel", // T_LINK_OFFICIAL
        L"Impossible d'enregistrer les paramètres dans {0}. Placez ce programme dans un dossier où vous pouvez écrire, ou rendez le fichier modifiable, puis réessayez.", // T_ERR_SAVE_CONFIG
        L"L'étiquette du nom doit être un seul nom de dossier : elle ne peut pas contenir \\ / : * ? \" < > |, être . ou .., se terminer par un point ou un espace, ni être un nom réservé comme CON ou NUL.", // T_ERR_BAD_LABEL
        L"Impossible de créer ou d'ouvrir le dossier de résultats : {0}", // T_MSG_OPEN_FAILED
        L"Copier(&C)", // T_MENU_COPY
        L"Tout sélectionner(&T)", // T_MENU_SELECT_ALL
        L"Enregistrer le journal(&E)...\tCtrl+S", // T_MENU_SAVE_LOG
        L"Effacer le journal(&F)", // T_MENU_CLEAR_LOG
        L"({0} lignes précédentes ne sont pas affichées ici. « Enregistrer le journal » les conserve toutes.)", // T_LOG_EARLIER
        L"Impossible d'enregistrer le journal dans {0}. Choisissez un autre emplacement et réessayez.", // T_ERR_SAVE_LOG
        L"Enregistrement", // T_COL_RECORDING
        L"État", // T_COL_STATE
        L"Résultat", // T_COL_RESULT
        L"En attente", // T_STATE_WAITING
        L"En cours", // T_STATE_RUNNING
        L"Terminé", // T_STATE_DONE
        L"Échec", // T_STATE_FAILED
        L"Annulé", // T_STATE_CANCELLED
        L"Interrompu", // T_STATE_INTERRUPTED
        L"Retirer(&R)\tSuppr", // T_MENU_REMOVE
        L"Ouvrir le dossier de résultats(&O)", // T_MENU_OPEN_RESULT
        L"Relancer(&A)", // T_MENU_RUN_AGAIN
        L"Effacer les terminés(&F)", // T_MENU_CLEAR_FINISHED
        L"{0} ne contient aucun fichier audio/vidéo.", // T_ERR_NO_RECORDINGS
        L"{0} fichiers ignorés : ce ne sont pas des fichiers audio/vidéo.", // T_LOG_SKIPPED
        L"File terminée : {0} terminés, {1} en échec, {2} annulés, {3} non traités.", // T_LOG_QUEUE_SUMMARY
        L"Impossible de lire le dossier {0}.", // T_ERR_FOLDER_UNREADABLE
        L"Le chemin dépasse la longueur permise par Windows et a été ignoré : {0}", // T_ERR_PATH_TOO_LONG
        L"La file enregistrée était illisible. Elle a été conservée sous {0}, et la file repart vide.", // T_LOG_QUEUE_BROKEN
        L"Impossible d'enregistrer la file dans {0}. La liste reste telle quelle ; pour la conserver après un redémarrage, retirez l'attribut lecture seule du fichier.", // T_LOG_QUEUE_NOT_SAVED
        L"code de sortie {0}", // T_RESULT_EXIT_CODE
        L"Le dossier de sortie contient un nom de périphérique comme CON, NUL, COM1 ou LPT1, qui ne peut pas être un dossier. Choisissez un autre dossier de sortie.", // T_ERR_DEVICE_OUTPUT
        L"Le nom de l'enregistrement ne peut pas servir de nom de dossier. Saisissez une étiquette de nom.", // T_ERR_NEED_LABEL
        L"Ceci est un dossier, pas un fichier. Choisissez un fichier audio/vidéo.", // T_ERR_INPUT_IS_FOLDER
        L"L'étiquette du nom est trop longue : un nom de dossier compte au plus 255 caractères.", // T_ERR_LABEL_TOO_LONG
        L"Le fichier de paramètres n'a pas pu être lu tel quel ; ce qui était inutilisable a repris sa valeur par défaut, et le fichier a été conservé sous {0}.", // T_LOG_CONFIG_RESET
        L"Le fichier de paramètres {0} est utilisé par un autre programme. Fermez ce programme et réessayez.", // T_ERR_CONFIG_IN_USE
        L"La file enregistrée {0} est illisible pour le moment ; un autre programme l'utilise peut-être. Le fichier reste tel quel, et ses enregistrements rejoignent la liste dès qu'il est lisible.", // T_LOG_QUEUE_UNREAD
        L"Le nom du dossier de résultats de {0} n'est pas utilisable : avec l'étiquette de nom, il dépasse 255 caractères, se termine par un point ou un espace, ou est un nom réservé comme CON. Renommez l'enregistrement, changez l'étiquette de nom ou retirez l'enregistrement de la file.", // T_ERR_ITEM_NAME
        L"Une autre fenêtre de ce programme tient la file dans {0}. La file de cette fenêtre n'est pas conservée à sa fermeture.", // T_LOG_QUEUE_ELSEWHERE
        L"Le chemin de l'enregistrement, le dossier de sortie et l'étiquette de nom dépassent ensemble ce que Windows permet sur la ligne de commande du programme de traitement (32 767 caractères). Choisissez un dossier de sortie ou une étiquette de nom plus courts.", // T_ERR_COMMAND_TOO_LONG
        L"Le dossier de sortie {0} n'est pas utilisable : impossible d'y créer un dossier (c'est peut-être un fichier, un lecteur absent ou un emplacement en lecture seule). Choisissez un autre dossier de sortie.", // T_ERR_OUTPUT_UNUSABLE
        L"Enregistrements indiqués sur la ligne de commande qui figuraient déjà dans la liste, traités à nouveau : {0}.", // T_LOG_NAMED_AGAIN
        L"Enregistrements qui attendaient déjà et restent en attente : {0}. Cliquez sur OK pour les traiter.", // T_LOG_LEFT_WAITING
        L"Une autre fenêtre de ce programme tient la file dans {0}. Les {1} enregistrements de la liste de cette fenêtre ne seront pas conservés. Fermer quand même ?", // T_ASK_QUEUE_NOT_KEPT
        L"Cette fenêtre tient désormais la file dans {0} ; les enregistrements qui y sont conservés rejoignent sa liste.", // T_LOG_QUEUE_TAKEN_OVER
        L"Ajout des enregistrements... {0} trouvés jusqu'ici", // T_LIST_ADDING
        L"{0} entrées de la file enregistrée étaient illisibles et ont été écartées, la première étant {1}. Le fichier tel qu'il était est conservé sous {2}.", // T_LOG_QUEUE_ITEMS_DROPPED
        L"l'entrée {0}", // T_QUEUE_ENTRY
        L"{0} est un dossier, pas un fichier : la file ne peut pas y être conservée. Renommez ou supprimez ce dossier pour garder la file après un redémarrage.", // T_LOG_QUEUE_IS_FOLDER
        L"Impossible d'enregistrer la file dans {0} : le disque est plein. La liste reste telle quelle ; pour la conserver après un redémarrage, libérez de l'espace.", // T_LOG_QUEUE_DISK_FULL
        L"Le nom du dossier de résultats de {0} n'est pas utilisable : le nom de l'enregistrement dépasse 255 caractères, se termine par un point ou un espace, ou est un nom réservé comme CON. Renommez l'enregistrement, saisissez une étiquette de nom ou retirez l'enregistrement de la file.", // T_ERR_ITEM_NAME_NO_LABEL
        L"Les noms des dossiers de résultats de {0} enregistrements ne sont pas utilisables : avec l'étiquette de nom, ils dépassent 255 caractères, se terminent par un point ou un espace, ou sont des noms réservés comme CON. Renommez les enregistrements, changez l'étiquette de nom ou retirez-les de la file :{1}", // T_ERR_ITEM_NAMES
        L"Les noms des dossiers de résultats de {0} enregistrements ne sont pas utilisables : les noms des enregistrements dépassent 255 caractères, se terminent par un point ou un espace, ou sont des noms réservés comme CON. Renommez les enregistrements, saisissez une étiquette de nom ou retirez-les de la file :{1}", // T_ERR_ITEM_NAMES_NO_LABEL
        L"... et {0} autres", // T_MORE_ITEMS
        L"dossier de résultats disparu", // T_RESULT_GONE
        L"Le dossier de résultats {0} a disparu : le dossier de sortie a été supprimé ou renommé pendant le traitement. Traitez l'enregistrement à nouveau.", // T_LOG_RESULT_GONE
        L"Fichier journal : {0}", // T_LOG_FILE
        L"Impossible d'écrire les fichiers journaux dans {0} ; les traitements continuent sans eux.", // T_LOG_NO_LOG_FILES
        L"Ouvrir le journal(&L)", // T_MENU_OPEN_LOG
        L"Séparation des locuteurs : {0}", // T_POWER_REASON_RUN
        L"Séparation des locuteurs : {0} sur {1}", // T_POWER_REASON_QUEUE
        L"File(&Q)", // T_MENU_QUEUE
        L"Arrêter après cet enregistrement(&T)", // T_MENU_STOP_AFTER
        L"Quand la file est terminée(&W)", // T_MENU_WHEN_DONE
        L"Ne rien faire(&N)", // T_MENU_DO_NOTHING
        L"Mettre en veille(&S)", // T_MENU_SLEEP
        L"Arrêter l'ordinateur(&D)", // T_MENU_SHUT_DOWN
        L"La file est terminée. L'ordinateur se met en veille dans {0} secondes.", // T_COUNTDOWN_SLEEP
        L"La file est terminée. L'ordinateur s'arrête dans {0} secondes.", // T_COUNTDOWN_SHUT_DOWN
        L"Mettre en veille maintenant", // T_BTN_SLEEP_NOW
        L"Arrêter maintenant", // T_BTN_SHUT_DOWN_NOW
        L"L'ordinateur reste allumé.", // T_LOG_STAYS_ON
        L"L'ordinateur se met en veille.", // T_LOG_SLEEPING
        L"L'ordinateur s'arrête.", // T_LOG_SHUTTING_DOWN
        L"Windows ne l'a pas permis ; l'ordinateur reste allumé.", // T_LOG_WHEN_DONE_REFUSED
        L"La file s'arrête après cet enregistrement ; les autres restent en attente.", // T_LOG_STOP_AFTER
        L"La file continue après cet enregistrement.", // T_LOG_GO_ON
        L"Windows ferme la session : le traitement est interrompu. Une file reprend quand Windows relance le programme.", // T_LOG_SESSION_END
        L"Windows a relancé le programme : l'enregistrement interrompu est traité à nouveau, puis ceux en attente.", // T_LOG_RESUMED
        L"Ouvrir le dossier du programme(&P)", // T_MENU_OPEN_PROGRAM_FOLDER
        L"Aucun enregistrement de la liste n'est en attente. Pour traiter à nouveau ceux qui sont terminés, sélectionnez-les et choisissez Relancer dans le menu de la liste.", // T_ERR_NOTHING_WAITS
        L"Séparer les locuteurs dans la file", // T_VERB_QUEUE
        L"La fenêtre a été fermée : le traitement a été arrêté.", // T_LOG_CLOSED_DURING_RUN
    },
};

constexpr const wchar_t* TIP_TEXTS[LANGUAGE_COUNT][TIP_COUNT] = {
    // Chinese ("zh")
    {
        L"选择要处理的音频或视频。支持 mp3/wav/mp4/mkv/mov 等；视频会自动提取音轨再拆分。", // TIP_INPUT
        L"结果保存的根目录（默认 outputs）。超过 10 分钟会自动切成多段，每段一个子文件夹（第01段…），里面是 A.mp3/B.mp3/转写.txt。", // TIP_OUTPUT
        L"结果文件夹的名字（日期下面那层）。不填就用文件名。", // TIP_LABEL
        L"录音里共有几个人说话（2-10）。识别后按 A/B/C… 标出每人。", // TIP_SPEAKERS
        L"默认只生成每个角色的整条音轨（A.mp3/B.mp3/…）。勾选后，额外把每句话切成独立小片段。", // TIP_CLIPS
        L"开始处理：转码 → 上传阿里云 → 在线识别 → 切分 → 输出。", // TIP_OK
        L"停止当前处理；空闲时点击等于关闭窗口。", // TIP_CANCEL
        L"设置阿里云账号（AccessKey、Appkey、桶）和界面语言。", // TIP_SETTINGS
        L"阿里云 AccessKey ID，在阿里云控制台-访问控制里获取。", // TIP_KEY_ID
        L"阿里云 AccessKey Secret（密钥），仅保存在本机配置文件里。", // TIP_KEY_SECRET
        L"智能语音交互控制台里项目的 Appkey。", // TIP_APPKEY
        L"阿里云地域，如 cn-shanghai。", // TIP_REGION
        L"临时上传音频用的 OSS 存储桶名，如 qelvar。", // TIP_BUCKET
        L"界面显示语言，切换后立即生效并记住。", // TIP_LANG
    },
    // English ("en")
    {
        L"Choose the audio/video file to process. Supports mp3/wav/mp4/mkv/mov etc.; video audio is extracted automatically.", // TIP_INPUT
        L"Root folder for results (default outputs). Files longer than 10 minutes are auto-split into segment subfolders (01, 02, ...), each containing A.mp3/B.mp3/transcript.", // TIP_OUTPUT
        L"Name of the result folder (below the date). Empty = use the file name.", // TIP_LABEL
        L"How many people speak in the recording (2-10). Output labels them A, B, C...", // TIP_SPEAKERS
        L"By default only full per-speaker tracks are generated (A.mp3/B.mp3/...). Check to also cut each sentence into separate clips.", // TIP_CLIPS
        L"Start: convert → upload to Aliyun → recognize → split → output.", // TIP_OK
        L"Stop the current run; when idle, clicking closes the window.", // TIP_CANCEL
        L"Set Aliyun credentials (AccessKey, Appkey, bucket) and UI language.", // TIP_SETTINGS
        L"Aliyun AccessKey ID (from Aliyun console, RAM access keys).", // TIP_KEY_ID
        L"Aliyun AccessKey Secret; stored only in the local config file.", // TIP_KEY_SECRET
        L"Appkey of your project in the Intelligent Speech Interaction console.", // TIP_APPKEY
        L"Aliyun region, e.g. cn-shanghai.", // TIP_REGION
        L"OSS bucket used for temporary audio upload, e.g. qelvar.", // TIP_BUCKET
        L"UI language; takes effect immediately and is remembered.", // TIP_LANG
    },
    // Japanese ("ja")
    {
        L"処理する音声/動画ファイルを選択。mp3/wav/mp4/mkv/mov 等に対応。動画の音声は自動抽出されます。", // TIP_INPUT
        L"結果の保存先フォルダ（既定 outputs）。10 分を超えるファイルは自動分割され、区切りごとのサブフォルダ（01、02…）に A.mp3/B.mp3/文字起こし が保存されます。", // TIP_OUTPUT
        L"結果フォルダの名前（日付の下の階層）。空欄ならファイル名を使用。", // TIP_LABEL
        L"録音内の話者数（2〜10）。結果は A、B、C… で区別されます。", // TIP_SPEAKERS
        L"既定では話者ごとの通し音声（A.mp3/B.mp3/…）のみ作成。チェックすると、文ごとの小クリップも作成します。", // TIP_CLIPS
        L"開始：変換 → アップロード → 認識 → 分割 → 出力。", // TIP_OK
        L"処理を停止。アイドル時にクリックするとウィンドウを閉じます。", // TIP_CANCEL
        L"アリババクラウドのアカウント（AccessKey・Appkey・バケット）と言語を設定。", // TIP_SETTINGS
        L"アリババクラウドの AccessKey ID（コンソールの RAM キー）。", // TIP_KEY_ID
        L"AccessKey Secret。ローカルの設定ファイルにのみ保存されます。", // TIP_KEY_SECRET
        L"智能语音交互コンソールのプロジェクト Appkey。", // TIP_APPKEY
        L"リージョン（例: cn-shanghai）。", // TIP_REGION
        L"一時アップロード用の OSS バケット名（例: qelvar）。", // TIP_BUCKET
        L"表示言語。すぐに反映され、記憶されます。", // TIP_LANG
    },
    // Korean ("ko")
    {
        L"처리할 오디오/비디오 파일 선택. mp3/wav/mp4/mkv/mov 등 지원. 동영상의 오디오는 자동 추출됩니다.", // TIP_INPUT
        L"결과 저장 폴더(기본 outputs). 10분을 넘는 파일은 자동 분할되어 구간별 하위 폴더(01, 02…)에 A.mp3/B.mp3/전사본이 저장됩니다.", // TIP_OUTPUT
        L"결과 폴더 이름(날짜 아래 계층). 비우면 파일 이름을 사용합니다.", // TIP_LABEL
        L"녹음에 등장하는 화자 수(2~10). 결과는 A, B, C…로 구분됩니다.", // TIP_SPEAKERS
        L"기본적으로 화자별 전체 음원(A.mp3/B.mp3/…)만 생성합니다. 체크하면 문장별 클립도 생성합니다.", // TIP_CLIPS
        L"시작: 변환 → 업로드 → 인식 → 분할 → 출력.", // TIP_OK
        L"현재 처리를 중지. 대기 중 클릭 시 창을 닫습니다.", // TIP_CANCEL
        L"알리바바 클라우드 계정(AccessKey, Appkey, 버킷)과 UI 언어를 설정합니다.", // TIP_SETTINGS
        L"알리바바 클라우드 AccessKey ID(콘솔 RAM 키).", // TIP_KEY_ID
        L"AccessKey Secret. 로컬 설정 파일에만 저장됩니다.", // TIP_KEY_SECRET
        L"음성 지능 상호작용 콘솔 프로젝트의 Appkey.", // TIP_APPKEY
        L"리전(예: cn-shanghai).", // TIP_REGION
        L"임시 업로드용 OSS 버킷 이름(예: qelvar).", // TIP_BUCKET
        L"UI 언어. 즉시 적용되고 기억됩니다.", // TIP_LANG
    },
    // German ("de")
    {
        L"Audio-/Videodatei wählen. Unterstützt mp3/wav/mp4/mkv/mov usw.; Video-Audio wird automatisch extrahiert.", // TIP_INPUT
        L"Zielordner für Ergebnisse (Standard outputs). Dateien über 10 Minuten werden automatisch in Segment-Ordner (01, 02 …) aufgeteilt, jeweils mit A.mp3/B.mp3/Transkript.", // TIP_OUTPUT
        L"Name des Ergebnisordners (unter dem Datum). Leer = Dateiname.", // TIP_LABEL
        L"Anzahl der Sprecher (2–10). Ausgabe beschriftet sie mit A, B, C...", // TIP_SPEAKERS
        L"Standardmäßig wird nur eine ganze Spur pro Sprecher erzeugt (A.mp3/B.mp3/…). Aktivieren erzeugt zusätzlich Clips pro Satz.", // TIP_CLIPS
        L"Start: konvertieren → hochladen → erkennen → schneiden → ausgeben.", // TIP_OK
        L"Lauf abbrechen; im Leerlauf schließt ein Klick das Fenster.", // TIP_CANCEL
        L"Aliyun-Zugangsdaten (AccessKey, Appkey, Bucket) und Sprache einstellen.", // TIP_SETTINGS
        L"Aliyun AccessKey ID (aus der Aliyun-Konsole, RAM-Keys).", // TIP_KEY_ID
        L"Aliyun AccessKey Secret; wird nur in der lokalen Konfiguration gespeichert.", // TIP_KEY_SECRET
        L"Appkey Ihres Projekts in der Intelligent-Speech-Konsole.", // TIP_APPKEY
        L"Aliyun-Region, z. B. cn-shanghai.", // TIP_REGION
        L"OSS-Bucket für den temporären Audio-Upload, z. B. qelvar.", // TIP_BUCKET
        L"Oberflächensprache; wirkt sofort und wird gespeichert.", // TIP_LANG
    },
    // French ("fr")
    {
        L"Choisissez le fichier audio/vidéo à traiter. Prend en charge mp3/wav/mp4/mkv/mov, etc.; l'audio vidéo est extrait automatiquement.", // TIP_INPUT
        L"Dossier racine des résultats (défaut outputs). Les fichiers de plus de 10 minutes sont automatiquement découpés en sous-dossiers (01, 02…), chacun contenant A.mp3/B.mp3/transcription.", // TIP_OUTPUT
        L"Nom du dossier de résultats (sous la date). Vide = nom du fichier.", // TIP_LABEL
        L"Nombre de locuteurs (2–10). La sortie les étiquette A, B, C...", // TIP_SPEAKERS
        L"Par défaut, seule une piste complète par locuteur est générée (A.mp3/B.mp3/…). Cochez pour aussi créer des extraits par phrase.", // TIP_CLIPS
        L"Démarrer : conversion → téléversement → reconnaissance → découpage → sortie.", // TIP_OK
        L"Arrêter le traitement ; au repos, cliquez pour fermer la fenêtre.", // TIP_CANCEL
        L"Configurer le compte Aliyun (AccessKey, Appkey, bucket) et la langue.", // TIP_SETTINGS
        L"AccessKey ID Aliyun (depuis la console Aliyun, clés RAM).", // TIP_KEY_ID
        L"AccessKey Secret Aliyun ; stocké uniquement dans la configuration locale.", // TIP_KEY_SECRET
        L"Appkey de votre projet dans la console Intelligent Speech Interaction.", // TIP_APPKEY
        L"Région Aliyun, ex. cn-shanghai.", // TIP_REGION
        L"Bucket OSS pour l'upload audio temporaire, ex. qelvar.", // TIP_BUCKET
        L"Langue de l'interface ; effet immédiat et mémorisé.", // TIP_LANG
    },
};

} // namespace
const LanguageInfo LANGUAGES[LANGUAGE_COUNT] = {
    {"zh", L"中文"},
    {"en", L"English"},
    {"ja", L"日本語"},
    {"ko", L"한국어"},
    {"de", L"Deutsch"},
    {"fr", L"Français"},
};

LanguageIndex currentLanguage = 0;

const wchar_t* uiTextIn(LanguageIndex language, TextId id)
{
    return UI_TEXTS[language][id];
}

const wchar_t* tipTextIn(LanguageIndex language, TipId id)
{
    return TIP_TEXTS[language][id];
}

const wchar_t* uiText(TextId id)
{
    return uiTextIn(currentLanguage, id);
}

const wchar_t* tipText(TipId id)
{
    return tipTextIn(currentLanguage, id);
}

LanguageIndex languageIndexFromCode(std::string_view code)
{
    for (LanguageIndex index = 0; index < LANGUAGE_COUNT; ++index) {
        if (code == LANGUAGES[index].code) {
            return index;
        }
    }
    return 0;
}

namespace {

template <typename Values>
std::wstring filled(std::wstring_view text, const Values& values)
{
    std::wstring result(text);
    size_t number = 0;
    size_t from = 0;
    for (const std::wstring_view value : values) {
        const std::wstring mark = L"{" + std::to_wstring(number++) + L"}";
        // Found in the text as written, so that a value holding "{1}" stays as it is.
        const size_t at = result.find(mark, from);
        if (at != std::wstring::npos) {
            result.replace(at, mark.size(), value);
            from = at + value.size();
        }
    }
    return result;
}

} // namespace

std::wstring fillPlaceholders(std::wstring_view text, std::initializer_list<std::wstring_view> values)
{
    return filled(text, values);
}

std::wstring fillPlaceholders(std::wstring_view text, const std::vector<std::wstring>& values)
{
    return filled(text, values);
}

std::wstring fillPlaceholder(std::wstring_view text, std::wstring_view value)
{
    return fillPlaceholders(text, {value});
}

int showMessage(HWND owner, TextId text, UINT flags)
{
    return MessageBoxW(owner, uiText(text), uiText(T_APP_TITLE), flags);
}

int showMessage(HWND owner, TextId text, std::wstring_view value, UINT flags)
{
    return MessageBoxW(owner, fillPlaceholder(uiText(text), value).c_str(), uiText(T_APP_TITLE), flags);
}

int showMessage(HWND owner, TextId text, const std::vector<std::wstring>& values, UINT flags)
{
    return MessageBoxW(owner, fillPlaceholders(uiText(text), values).c_str(), uiText(T_APP_TITLE), flags);
}
