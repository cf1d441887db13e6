// The queue's rules: adding, order, duplicates, labels, states, its file.
#include "run/queue.h"
#include "support/temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

RunQueue queueOf(const std::vector<std::wstring>& files)
{
    RunQueue queue;
    addToQueue(queue, files);
    return queue;
}

std::vector<std::wstring> labelsOf(const RunQueue& queue)
{
    std::vector<std::wstring> labels;
    for (const QueueItem& item : queue.items) {
        labels.push_back(item.label);
    }
    return labels;
}

} // namespace

TEST(Queue, RecordingsAreKnownByTheirExtensionAndSortedAsExplorerShowsThem)
{
    for (const wchar_t* yes : {L"a.wav", L"C:\\x\\talk.MP3", L"D:\\y.z\\m.m4a", L"b.Avi", L"...wma"}) {
        EXPECT_TRUE(isRecording(yes)) << yes;
    }
    for (const wchar_t* no : {L"a.txt", L"wav", L"C:\\x.wav\\file", L"a.wav.bak", L"a.", L""}) {
        EXPECT_FALSE(isRecording(no)) << no;
    }
    std::vector<std::wstring> paths = {L"x\\10.wav", L"x\\2.wav", L"x\\B.wav", L"x\\a.wav", L"x\\1.wav"};
    sortLikeExplorer(paths);
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"x\\1.wav", L"x\\2.wav", L"x\\10.wav", L"x\\a.wav", L"x\\B.wav"}));
}

TEST(Queue, AFolderGivesItsRecordingsAsExplorerListsThem)
{
    TempFolder folder;
    for (const wchar_t* sub : {L"day 10", L"day 2", L"day 2\\inner", L".hidden"}) {
        CreateDirectoryW(folder.file(sub).c_str(), nullptr);
    }
    SetFileAttributesW(folder.file(L".hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    for (const wchar_t* file : {L"10.wav", L"2.WAV", L"notes.txt", L"day 2\\b.mp3", L"day 2\\a.mp4",
             L"day 2\\inner\\x.m4a", L"day 10\\y.wav", L".hidden\\z.wav", L"secret.wav"}) {
        writeBytes(folder.file(file), "x");
    }
    SetFileAttributesW(folder.file(L"secret.wav").c_str(), FILE_ATTRIBUTE_HIDDEN);
    const FolderScan scan = recordingsIn(folder.path());
    std::vector<std::wstring> expected;
    for (const wchar_t* file : {L"day 2\\inner\\x.m4a", L"day 2\\a.mp4", L"day 2\\b.mp3", L"day 10\\y.wav", L"2.WAV",
             L"10.wav"}) {
        expected.push_back(folder.file(file));
    }
    EXPECT_EQ(scan.recordings, expected);
    EXPECT_EQ(scan.skipped, 1u) << "notes.txt";
    EXPECT_FALSE(scan.unreadable);
    EXPECT_TRUE(recordingsIn(folder.file(L"missing")).recordings.empty());
}

TEST(Queue, TheSameFileIsNeverQueuedTwice)
{
    RunQueue queue = queueOf({L"C:\\rec\\a.wav", L"C:\\rec\\b.wav"});
    EXPECT_EQ(addToQueue(queue, {L"c:\\REC\\A.WAV", L"C:\\rec\\c.wav", L"C:\\rec\\c.wav"}), 1u);
    ASSERT_EQ(queue.items.size(), 3u);
    EXPECT_EQ(queue.items[2].path, L"C:\\rec\\c.wav");
    EXPECT_EQ(queue.items[2].state, ItemState::Waiting);

    // Three spellings of one file are one recording once the paths are full
    // and long.
    TempFolder folder;
    const std::wstring file = folder.file(L"a rather long recording name.wav");
    writeBytes(file, "x");
    std::wstring shortName(MAX_PATH, L'\0');
    shortName.resize(GetShortPathNameW(file.c_str(), shortName.data(), MAX_PATH));
    ASSERT_NE(shortName, file);
    const ExpandedPaths expanded =
        expandPaths({folder.file(L"sub\\..\\a rather long recording name.wav"), shortName, file}, 32767);
    RunQueue spelled;
    EXPECT_EQ(addToQueue(spelled, expanded.recordings), 1u);
    EXPECT_EQ(spelled.items.at(0).path, file);

    // A saved queue read late goes first; a file in both stays as the queue
    // has it, and a queue with items keeps what it runs with.
    RunQueue saved = queueOf({L"C:\\rec\\old.wav", L"C:\\REC\\C.WAV"});
    saved.items[1].state = ItemState::Done;
    saved.outputRoot = L"D:\\saved";
    takeInSaved(queue, saved);
    std::vector<std::wstring> paths;
    for (const QueueItem& item : queue.items) {
        paths.push_back(item.path);
    }
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"C:\\rec\\old.wav", L"C:\\rec\\a.wav", L"C:\\rec\\b.wav", L"C:\\rec\\c.wav"}));
    EXPECT_EQ(queue.items[3].state, ItemState::Waiting);
    EXPECT_EQ(queue.outputRoot, L"");
    RunQueue empty;
    takeInSaved(empty, saved);
    EXPECT_EQ(empty.items.size(), 2u);
    EXPECT_EQ(empty.outputRoot, L"D:\\saved");
}

TEST(Queue, LabelsAreUniqueInTheQueueAndOnTheDay)
{
    struct Case {
        std::wstring typed;
        std::vector<std::wstring> files;
        std::vector<std::wstring> taken;
        std::vector<std::wstring> labels;
    };
    const Case cases[] = {
        {L"", {L"C:\\a\\x.wav", L"C:\\b\\x.wav", L"C:\\b\\y.mp3"}, {}, {L"x", L"x (2)", L"y"}},
        {L"meeting", {L"C:\\a\\x.wav", L"C:\\b\\X.wav"}, {}, {L"meeting-x", L"meeting-X (2)"}},
        {L"", {L"C:\\a\\x.wav"}, {L"x", L"X (2)"}, {L"x (3)"}},
        {L"", {L"C:\\a\\x.wav", L"C:\\a\\x (2).wav"}, {}, {L"x", L"x (2)"}},
    };
    for (const Case& test : cases) {
        RunQueue queue = queueOf(test.files);
        assignLabels(queue, test.typed, test.taken);
        EXPECT_EQ(labelsOf(queue), test.labels) << test.typed;
    }
    // A done item keeps its label, and a later one cannot take it.
    RunQueue queue = queueOf({L"C:\\a\\x.wav"});
    assignLabels(queue, L"", {});
    queue.items[0].state = ItemState::Done;
    addToQueue(queue, {L"C:\\b\\x.wav"});
    assignLabels(queue, L"", {});
    EXPECT_EQ(labelsOf(queue), (std::vector<std::wstring>{L"x", L"x (2)"}));
}

TEST(Queue, StatesDecideWhatRunsNextAndWhatIsCounted)
{
    RunQueue queue = queueOf({L"a.wav", L"b.wav", L"c.wav", L"d.wav", L"e.wav"});
    EXPECT_EQ(nextWaiting(queue), 0u);
    queue.items[0].state = ItemState::Done;
    queue.items[1].state = ItemState::Failed;
    queue.items[1].exitCode = 3;
    queue.items[2].state = ItemState::Running;
    EXPECT_EQ(nextWaiting(queue), 3u);

    markInterrupted(queue); // the program ended while c.wav ran
    EXPECT_EQ(queue.items[2].state, ItemState::Interrupted);
    const QueueSummary summary = summarize(queue);
    EXPECT_EQ(summary.done, 1u);
    EXPECT_EQ(summary.failed, 1u);
    EXPECT_EQ(summary.cancelled, 0u);
    EXPECT_EQ(summary.notRun, 3u);

    runAgain(queue, {0, 1, 2});
    EXPECT_EQ(queue.items[0].state, ItemState::Done) << "a done item is not run again";
    EXPECT_EQ(queue.items[1].state, ItemState::Waiting);
    EXPECT_EQ(queue.items[1].exitCode, 0u);
    EXPECT_EQ(queue.items[2].state, ItemState::Waiting);
    EXPECT_EQ(nextWaiting(queue), 1u);

    queue.items[3].state = ItemState::Running;
    queue.items[4].state = ItemState::Cancelled;
    removeItems(queue, {3, 1, 1});
    ASSERT_EQ(queue.items.size(), 4u) << "a running item is never removed";
    EXPECT_EQ(queue.items[2].path, L"d.wav");
    clearFinished(queue);
    ASSERT_EQ(queue.items.size(), 2u);
    EXPECT_EQ(queue.items[0].path, L"c.wav");
    EXPECT_EQ(queue.items[1].path, L"d.wav");
}

TEST(Queue, TheFileKeepsEverythingButAccountValuesAndRefusesWhatItIsNot)
{
    RunQueue queue = queueOf({L"C:\\录音\\a.wav", L"C:\\rec\\b \"q\".mp3"});
    queue.outputRoot = L"D:\\out";
    queue.speakerCount = 4;
    queue.makeClips = true;
    assignLabels(queue, L"", {});
    queue.items[0].state = ItemState::Done;
    queue.items[0].resultFolder = L"D:\\out\\2026-12-09\\a";
    queue.items[1].state = ItemState::Failed;
    queue.items[1].exitCode = 0xC0000005u;
    const std::optional<SavedQueue> saved = queueFromJson(queueToJson(queue));
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->leftOut, 0u);
    const RunQueue* back = &saved->queue;
    EXPECT_EQ(back->outputRoot, queue.outputRoot);
    EXPECT_EQ(back->speakerCount, 4);
    EXPECT_TRUE(back->makeClips);
    ASSERT_EQ(back->items.size(), 2u);
    for (size_t index = 0; index < 2; ++index) {
        EXPECT_EQ(back->items[index].path, queue.items[index].path);
        EXPECT_EQ(back->items[index].label, queue.items[index].label);
        EXPECT_EQ(back->items[index].state, queue.items[index].state);
        EXPECT_EQ(back->items[index].exitCode, queue.items[index].exitCode);
        EXPECT_EQ(back->items[index].resultFolder, queue.items[index].resultFolder);
    }
    EXPECT_EQ(queueToJson(queue).find("access_key"), std::string::npos);
    for (const char* broken : {"", "{", "[]", "{\"items\": 5}", "{\"output_root\": \"o\"}"}) {
        EXPECT_FALSE(queueFromJson(broken).has_value()) << broken;
    }
}

TEST(Queue, AHandEditedFileLosesOnlyWhatCannotBeRead)
{
    // An unknown state, an empty path, a path of another type and a second
    // spelling of a1.wav cost only themselves; choices out of range or of
    // another type read as the defaults.
    const std::optional<SavedQueue> saved = queueFromJson(R"({"output_root": 5, "speakers": 99, "clips": "yes",
        "items": [{"path": "C:\\a1.wav", "state": "done", "label": "a1", "exit_code": 0, "result_folder": "D:\\r"},
                  {"path": "C:\\b.wav", "state": "exploded"},
                  {"path": "", "state": "waiting"},
                  {"path": 7, "state": "waiting"},
                  {"path": "C:\\A1.WAV", "state": "waiting"},
                  {"path": "C:\\c.wav", "state": "failed", "exit_code": "three"}]})");
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->queue.outputRoot, L"");
    EXPECT_EQ(saved->queue.speakerCount, 2);
    EXPECT_FALSE(saved->queue.makeClips);
    ASSERT_EQ(saved->queue.items.size(), 2u);
    EXPECT_EQ(saved->queue.items[0].path, L"C:\\a1.wav");
    EXPECT_EQ(saved->queue.items[0].resultFolder, L"D:\\r");
    EXPECT_EQ(saved->queue.items[1].path, L"C:\\c.wav");
    EXPECT_EQ(saved->queue.items[1].exitCode, 0u);
    EXPECT_EQ(saved->leftOut, 3u);
    EXPECT_EQ(saved->firstLeftOut, L"C:\\b.wav");
    EXPECT_EQ(saved->firstLeftOutPosition, 2u);
}

TEST(Queue, FoldersAreEnteredUnlessTheyAreAnotherNameForAFolderElsewhere)
{
    struct Case {
        DWORD attributes;
        DWORD tag;
        bool entered;
    } cases[] = {
        {FILE_ATTRIBUTE_DIRECTORY, 0, true},
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_MOUNT_POINT, false}, // a junction
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_SYMLINK, false},
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, 0x9000001Au, true}, // a cloud file placeholder
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_DEDUP, true},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(entersFolder(test.attributes, test.tag), test.entered) << std::hex << test.tag;
    }
}
