// A small executable that carries the SDK archive like the installer does and
// drives the logger in ways the installer only reaches through its pages or a
// fault. Started by report_e2e.py against the local collector.
//   report_probe events <count>   <count> events, then a normal exit
//   report_probe release          vJoinPlan, ReleaseSdk, then vSoftQuit (dropped)
//   report_probe crash            an access violation after the logger started
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "report/EventCatalogue.h"
#include "report/LoggerServer.h"
#include "sys/Folders.h"

namespace {

TempCacheFolderLifetime g_tempCacheFolder;

int SendEvents(int count) {
    ILoggerServer* logger = GetLoggerServer();
    for (int i = 0; i < count; ++i) {
        logger->ClearProperties();
        logger->SetIntProperty(catalogue::prop::kDownloadTime, i);
        logger->SendEvent(catalogue::event::kSoftDownloadStart);
    }
    return 0;
}

int ReleaseMidRun() {
    using namespace catalogue;
    ILoggerServer* logger = GetLoggerServer();
    logger->ClearProperties();
    logger->SetBoolProperty(prop::kChooseJoinPlan, false);
    logger->SendEvent(event::kJoinPlan);
    logger->ReleaseSdk();
    logger->WriteStateRecord(record::kStateKindRun, record::kStateSource, record::kStateExit, "", "", {});
    logger->ClearProperties();
    logger->SetStringProperty(prop::kEventName, value::kSoftExit);
    logger->SendEvent(event::kSoftQuit);
    return 0;
}

int Crash() {
    GetLoggerServer();
    std::fflush(stdout);
    // An address the compiler cannot see is null: a real access violation.
    volatile uintptr_t nowhere = 0;
    *reinterpret_cast<volatile int*>(nowhere) = 1;
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"events" && argc > 2) return SendEvents(_wtoi(argv[2]));
    if (mode == L"release") return ReleaseMidRun();
    if (mode == L"crash") return Crash();
    std::fprintf(stderr, "usage: report_probe events <count> | release | crash\n");
    return 64;
}
