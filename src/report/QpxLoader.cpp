#include "report/QpxLoader.h"

#include <minizip/unzip.h>

#include <vector>

#include "EndpointConfig.h"
#include "report/QpxKeys.h"
#include "sys/CorvanError.h"
#include "sys/FileStream.h"
#include "sys/FileUtil.h"
#include "sys/Folders.h"
#include "sys/TextEncoding.h"

namespace {

constexpr char kAppId[] = "81974195";
constexpr char kAppKey[] = "5E2C8A9F03D74B61C8E0A7F29D4B3C16";
constexpr char kAppName[] = "win_installer";
constexpr char kSensorPath[] = "/sa?project=production";
constexpr int kMidVersion = 1;
constexpr size_t kEntryNameChars = 260;
constexpr unsigned kUnpackChunkBytes = 64 * 1024;

template <typename Fn>
Fn ProcAddress(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

template <typename Fn>
Fn RequiredProc(HMODULE library, const char* name, const char* failure) {
    Fn fn = ProcAddress<Fn>(library, name);
    if (fn == nullptr) throw CorvanError(failure);
    return fn;
}

void SaveArchive(const std::wstring& path) {
    const HMODULE self = ::GetModuleHandleW(nullptr);
    if (self == nullptr) throw CorvanError("Get module handle failed");
    const HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(kQpxResourceId), kQpxResourceType);
    if (found == nullptr) throw CorvanError("QPX not found resource");
    const DWORD size = ::SizeofResource(self, found);
    if (size == 0) throw CorvanError("QPX resource is empty");
    const HGLOBAL loaded = ::LoadResource(self, found);
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) throw CorvanError("Load QPX resource failed");
    try {
        CFileStream file(CorvanFileCreate(path));
        if (file.Write(bytes, size) != static_cast<int32_t>(size)) throw CorvanError("Save QPX resource failed");
    } catch (const CorvanError&) {
        throw CorvanError("Save QPX resource failed");
    }
}

// Entries are written straight into the folder: a name that carries a folder,
// a drive or ".." could otherwise place a file anywhere on the disk.
bool IsPlainFileName(const char* name) {
    const std::string text(name);
    return !text.empty() && text != "." && text != ".." && text.find_first_of("\\/:") == std::string::npos;
}

// One entry at the current position of the archive; errors leave it out.
void UnpackCurrentEntry(unzFile archive, const std::wstring& folder) {
    char name[kEntryNameChars] = {};
    unz_file_info info{};
    if (unzGetCurrentFileInfo(archive, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0) != UNZ_OK) return;
    if (info.uncompressed_size == 0 || !IsPlainFileName(name)) return;
    if (unzOpenCurrentFile(archive) != UNZ_OK) return;
    try {
        CFileStream file(CorvanFileCreate(folder + AnsiToWide(name)));
        std::vector<char> chunk(kUnpackChunkBytes);
        for (;;) {
            const int read = unzReadCurrentFile(archive, chunk.data(), kUnpackChunkBytes);
            if (read <= 0) break;
            if (file.Write(chunk.data(), static_cast<uint32_t>(read)) != read) break;
        }
    } catch (const CorvanError&) {
        // An entry that cannot be written is skipped; loading reports what is missing.
    }
    unzCloseCurrentFile(archive);
}

}  // namespace

bool UnpackArchive(const std::wstring& archivePath, const std::wstring& folder) {
    const std::string ansiPath = WideToAnsi(archivePath);
    unzFile archive = unzOpen64(ansiPath.c_str());
    if (archive == nullptr) return false;
    for (int status = unzGoToFirstFile(archive); status == UNZ_OK; status = unzGoToNextFile(archive)) {
        UnpackCurrentEntry(archive, folder);
    }
    unzClose(archive);
    return true;
}

HMODULE LoadQpxLibrary(std::wstring& libraryPath) {
    const std::wstring cache = GetTempCacheFolder();
    const std::wstring archive = cache + kQpxArchiveName;
    SaveArchive(archive);
    const std::wstring folder = cache + kQpxFolderName;
    if (cache.empty() || (!DirectoryExists(folder) && !CreateDirectoryPath(folder)))
        throw CorvanError("Create QPX cache path failed");
    UnpackArchive(archive, folder);
    const std::wstring path = folder + kQpxLibraryName;
    const HMODULE library = ::LoadLibraryW(path.c_str());
    if (library == nullptr) throw CorvanError("Load QPX.dll failed");
    libraryPath = path;
    return library;
}

std::unique_ptr<QpxCoreTable> BuildQpxCoreTable(HMODULE library) {
    auto core = std::make_unique<QpxCoreTable>();
    core->qpxCreate = RequiredProc<QpxCreateFn>(library, "qpxCreate", "Get qpxCreate address failed");
    core->qpxSetApplyKey = RequiredProc<QpxSetApplyKeyFn>(library, "qpxSetApplyKey", "Get qpxSetAppKey address failed");
    core->qpxSetAppInfo = RequiredProc<QpxSetAppInfoFn>(library, "qpxSetAppInfo", "Get qpxSetAppInfo address failed");
    core->qpxSetPubCertificate = RequiredProc<QpxSetPubCertificateFn>(library, "qpxSetPubCertificate",
                                                                      "Get qpxSetPubCertificate address failed");
    core->qpxSetPriCcertificate = RequiredProc<QpxSetPriCcertificateFn>(library, "qpxSetPriCcertificate",
                                                                        "Get qpxSetPriCcertificate address failed");
    core->qpxSetHostInfo =
        RequiredProc<QpxSetHostInfoFn>(library, "qpxSetHostInfo", "Get qpxSetHostInfo address failed");
    core->qpxSetSensorUrl = RequiredProc<QpxSetSensorUrlFn>(library, "qpxSetSensorUrl", "Get qpxSetSensorUrl failed");
    core->qpxSetMidVersion = ProcAddress<QpxSetMidVersionFn>(library, "qpxSetMidVersion");
    core->qpxEnableSandbox = ProcAddress<QpxEnableSandboxFn>(library, "qpxEnableSandbox");
    core->qpxEnableCrashReport = ProcAddress<QpxEnableCrashReportFn>(library, "qpxEnableCrashReport");
    core->qpxFree = ProcAddress<QpxFreeFn>(library, "qpxFree");
    core->qpxSetNetProtocol = ProcAddress<QpxSetNetProtocolFn>(library, "qpxSetNetProtocol");
    core->qpxSetURLVersion = ProcAddress<QpxSetURLVersionFn>(library, "qpxSetURLVersion");
    return core;
}

std::unique_ptr<QpxRecordTable> BuildQpxRecordTable(HMODULE library) {
    auto table = std::make_unique<QpxRecordTable>();
    table->qpxCLTCreate = RequiredProc<QpxCLTCreateFn>(library, "qpxCLTCreate", "Get qpxCLTCreate address error");
    table->qpxCLTSensorWriteEvent = RequiredProc<QpxCLTSensorWriteEventFn>(library, "qpxCLTSensorWriteEvent",
                                                                           "Get qpxCLTSensorWriteEvent address error");
    table->qpxCLTSensorWriteIntProperties = RequiredProc<QpxCLTSensorWriteIntPropertiesFn>(
        library, "qpxCLTSensorWriteIntProperties", "Get qpxCLTSensorWriteIntProperties address error");
    table->qpxCLTSensorWriteBoolProperties = RequiredProc<QpxCLTSensorWriteBoolPropertiesFn>(
        library, "qpxCLTSensorWriteBoolProperties", "Get qpxCLTSensorWriteBoolProperties address error");
    table->qpxCLTSensorWriteStringProperties = RequiredProc<QpxCLTSensorWriteStringPropertiesFn>(
        library, "qpxCLTSensorWriteStringProperties", "Get qpxCLTSensorWriteStringProperties address error");
    table->qpxCLTWriteInt =
        RequiredProc<QpxCLTWriteIntFn>(library, "qpxCLTWriteInt", "Get qpxCLTWriteInt address error");
    table->qpxCLTWriteData =
        RequiredProc<QpxCLTWriteDataFn>(library, "qpxCLTWriteData", "Get qpxCLTWriteData address error");
    table->qpxCLTCommit = RequiredProc<QpxCLTCommitFn>(library, "qpxCLTCommit", "Get qpxCLTCommit address error");
    table->qpxCLTFree = RequiredProc<QpxCLTFreeFn>(library, "qpxCLTFree", "Get qpxCLTFree address error");
    return table;
}

std::unique_ptr<QpxDataTable> BuildQpxDataTable(HMODULE library) {
    auto table = std::make_unique<QpxDataTable>();
    table->qpxBuildHttpData = ProcAddress<QpxBuildHttpDataFn>(library, "qpxBuildHttpData");
    table->qpxDecryptData = ProcAddress<QpxDecryptDataFn>(library, "qpxDecryptData");
    table->qpxDataFree = ProcAddress<QpxDataFreeFn>(library, "qpxDataFree");
    table->qpxMid = ProcAddress<QpxMidFn>(library, "qpxMid");
    table->qpxMidEx = ProcAddress<QpxMidExFn>(library, "qpxMidEx");
    table->qpxOpenUrl = ProcAddress<QpxOpenUrlFn>(library, "qpxOpenUrl");
    return table;
}

void InitialiseQpx(QpxCoreTable& core, QpxCrashCallback onCrash) {
    if (core.qpxCreate(&core.handle) != 0) throw CorvanError("create QPX handle failed");
    if (core.qpxSetApplyKey(kAppId, kAppKey) != 0) throw CorvanError("SetAppkey failed");
    if (core.qpxSetAppInfo(kAppName, 0, 0) != 0) throw CorvanError("SetAppInfo failed");
    if (core.qpxSetHostInfo(endpoints::kAnalyticsHost, endpoints::kHttpPort) != 0)
        throw CorvanError("SetHostInfo failed");
    if (core.qpxSetSensorUrl(kSensorPath) != 0) throw CorvanError("SetSensorUrl failed");
    if (core.qpxSetMidVersion != nullptr) core.qpxSetMidVersion(kMidVersion);
    core.qpxSetPubCertificate(kQpxPublicKey);
    core.qpxSetPriCcertificate(kQpxPrivateKey);
    if (core.qpxEnableCrashReport != nullptr) core.qpxEnableCrashReport(onCrash, &core);
}
