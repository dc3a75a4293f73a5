// The exports of the analytics SDK "Qpx.dll" and its companion "TolmarUID.dll":
// one set of signatures shared by the DLLs that implement them and by the
// installer that reaches them through GetProcAddress. Every text is narrow
// (UTF-8 unless stated); every function uses the C calling convention.
#pragma once

#include <cstdint>

extern "C" {

// Called from the SDK's crash filter with the context given to
// qpxEnableCrashReport and the full path of the minidump it wrote.
typedef int (*QpxCrashCallback)(void* context, const wchar_t* dumpPath);

typedef int (*QpxCreateFn)(uint32_t* handle);
typedef int (*QpxSetApplyKeyFn)(const char* appId, const char* appKey);
typedef int (*QpxSetAppInfoFn)(const char* appName, int reserved1, int reserved2);
typedef int (*QpxSetPubCertificateFn)(const char* base64Der);
typedef int (*QpxSetPriCcertificateFn)(const char* base64Der);
typedef int (*QpxSetHostInfoFn)(const char* host, int port);
typedef int (*QpxSetSensorUrlFn)(const char* path);
typedef int (*QpxSetMidVersionFn)(int version);
typedef int (*QpxEnableSandboxFn)(int enable);
typedef int (*QpxEnableCrashReportFn)(QpxCrashCallback callback, void* context);
typedef int (*QpxFreeFn)(uint32_t handle);
typedef int (*QpxSetNetProtocolFn)(int protocol);
typedef int (*QpxSetURLVersionFn)(const char* version);

// Records: type 1 start, 2 click, 4 state, 6 named event.
typedef int (*QpxCLTCreateFn)(uint32_t handle, int type, void** record);
typedef int (*QpxCLTSensorWriteEventFn)(void* record, const char* name, int32_t sequence);
typedef int (*QpxCLTSensorWriteIntPropertiesFn)(void* record, const char* key, int32_t value);
typedef int (*QpxCLTSensorWriteBoolPropertiesFn)(void* record, const char* key, uint8_t value);
typedef int (*QpxCLTSensorWriteStringPropertiesFn)(void* record, const char* key, const char* value);
typedef int (*QpxCLTWriteIntFn)(void* record, int field, int32_t value);
typedef int (*QpxCLTWriteDataFn)(void* record, int field, const void* bytes, int32_t length);
typedef int (*QpxCLTCommitFn)(void* record);
typedef int (*QpxCLTFreeFn)(void* record);

// Buffers returned here are released with qpxDataFree.
typedef uint8_t* (*QpxBuildHttpDataFn)(int kind, const void* bytes, int32_t length, int32_t* outLength, int reserved,
                                       const char* version);
typedef uint8_t* (*QpxDecryptDataFn)(const void* bytes, int32_t length, int32_t* outLength);
typedef void (*QpxDataFreeFn)(void* buffer);
typedef const char* (*QpxMidFn)();
typedef const char* (*QpxMidExFn)(int kind);
typedef int (*QpxOpenUrlFn)(const char* url);

// TolmarUID.dll: writes a NUL-terminated id of at most size - 1 characters.
typedef int (*GetTolmarUIDFn)(char* buffer, int size);

}  // extern "C"

// The SDK's tables as the installer keeps them. The core table's first entry
// is the SDK handle (0 = not open).
struct QpxCoreTable {
    uint32_t handle = 0;
    QpxCreateFn qpxCreate = nullptr;
    QpxSetApplyKeyFn qpxSetApplyKey = nullptr;
    QpxSetAppInfoFn qpxSetAppInfo = nullptr;
    QpxSetPubCertificateFn qpxSetPubCertificate = nullptr;
    QpxSetPriCcertificateFn qpxSetPriCcertificate = nullptr;
    QpxSetHostInfoFn qpxSetHostInfo = nullptr;
    QpxSetSensorUrlFn qpxSetSensorUrl = nullptr;
    QpxSetMidVersionFn qpxSetMidVersion = nullptr;
    QpxEnableSandboxFn qpxEnableSandbox = nullptr;
    QpxEnableCrashReportFn qpxEnableCrashReport = nullptr;
    QpxFreeFn qpxFree = nullptr;
    QpxSetNetProtocolFn qpxSetNetProtocol = nullptr;
    QpxSetURLVersionFn qpxSetURLVersion = nullptr;
};

struct QpxRecordTable {
    QpxCLTCreateFn qpxCLTCreate = nullptr;
    QpxCLTSensorWriteEventFn qpxCLTSensorWriteEvent = nullptr;
    QpxCLTSensorWriteIntPropertiesFn qpxCLTSensorWriteIntProperties = nullptr;
    QpxCLTSensorWriteBoolPropertiesFn qpxCLTSensorWriteBoolProperties = nullptr;
    QpxCLTSensorWriteStringPropertiesFn qpxCLTSensorWriteStringProperties = nullptr;
    QpxCLTWriteIntFn qpxCLTWriteInt = nullptr;
    QpxCLTWriteDataFn qpxCLTWriteData = nullptr;
    QpxCLTCommitFn qpxCLTCommit = nullptr;
    QpxCLTFreeFn qpxCLTFree = nullptr;
};

struct QpxDataTable {
    QpxBuildHttpDataFn qpxBuildHttpData = nullptr;
    QpxDecryptDataFn qpxDecryptData = nullptr;
    QpxDataFreeFn qpxDataFree = nullptr;
    QpxMidFn qpxMid = nullptr;
    QpxMidExFn qpxMidEx = nullptr;
    QpxOpenUrlFn qpxOpenUrl = nullptr;
};
