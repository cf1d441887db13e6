// What the front-end hands the engine and relies on in return, in one place.
//
// The engine, vuruzuz_odurevazu.exe, sits beside the front-end. It receives:
//   "<engine>" "<input>" --out-root "<root>" --label "<label>" --spk-num N [--clips]
// and reads the account values from aliyun_config.json in its own folder;
// they are never put on its command line or into its environment. It
// inherits the front-end's environment, current folder and standard input;
// standard output and standard error are one pipe; it gets no console.
//
// It writes progress as UTF-8 text lines ended by LF (CR LF tolerated). The
// pipe ends when the engine and everything that inherited the pipe have
// ended. Exit code 0 means success; the results are then expected in
// <root>\<yyyy-mm-dd at launch>\<label, or the input's stem>, which the
// front-end creates if missing and opens. A cancelled run ends with code 1.
#pragma once

constexpr const wchar_t* ENGINE_FILE_SUFFIX = L"\\vuruzuz_odurevazu.exe";
constexpr const wchar_t* DEFAULT_OUTPUT_ROOT = L"outputs";

constexpr const wchar_t* ARG_OUT_ROOT = L" --out-root ";
constexpr const wchar_t* ARG_LABEL = L" --label ";
constexpr const wchar_t* ARG_SPEAKERS = L" --spk-num ";
constexpr const wchar_t* ARG_CLIPS = L" --clips";

// The exit code a cancelled or abandoned engine is ended with.
constexpr unsigned CANCELLED_EXIT_CODE = 1;

// The five account members, in the order every check and form uses.
constexpr const char* ACCOUNT_KEYS[5] = {"access_key_id", "access_key_secret", "appkey", "region", "oss_bucket"};
