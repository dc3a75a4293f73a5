// A fresh folder under the user's temporary folder for one test, deleted with
// everything in it afterwards. Under Wine it lies inside the build tree's prefix.
#pragma once

#include <windows.h>

#include <string>

#include "sys/FileUtil.h"
#include "sys/TextOps.h"

class ScratchFolder {
public:
    ScratchFolder() {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        static LONG counter = 0;
        folder_ = AddBackslash(temp) + L"tarvel-test-" + FormatInt64Wide(::GetCurrentProcessId()) + L"-" +
                  FormatInt64Wide(::InterlockedIncrement(&counter)) + L"\\";
        DeleteTree(folder_);
        CreateDirectoryPath(folder_);
    }
    ~ScratchFolder() { DeleteTree(folder_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Folder() const { return folder_; }
    std::wstring Path(const std::wstring& name) const { return folder_ + name; }

private:
    std::wstring folder_;
};
