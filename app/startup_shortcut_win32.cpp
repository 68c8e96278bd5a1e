#include "app/startup_shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstring>

#include "app/state.h"

namespace {

// The shortcut's full file name: the Startup folder and "Quillbee.lnk".
bool StartupShortcutName(char name[MAX_PATH]) {
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator))) return false;
    LPITEMIDLIST folder = nullptr;
    bool found = false;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTUP, &folder)) && folder) {
        found = SHGetPathFromIDListA(folder, name) != FALSE;
        allocator->Free(folder);
    }
    allocator->Release();
    if (!found) return false;
    char file[64];
    wsprintfA(file, "%s.lnk", kProgramName);
    size_t length = lstrlenA(name);
    bool slash = length > 0 && name[length - 1] == '\\';
    if (length + (slash ? 0 : 1) + lstrlenA(file) >= MAX_PATH) return false;
    if (!slash) lstrcatA(name, "\\");
    lstrcatA(name, file);
    return true;
}

// Points the link at this executable, started silently from its own folder.
bool DescribeLink(IShellLinkA* link) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    link->SetPath(path);
    link->SetArguments("/S");
    link->SetDescription(kProgramTitle);
    link->SetIconLocation(path, 0);
    char* cut = strrchr(path, '\\');
    if (cut) *cut = '\0';
    link->SetWorkingDirectory(path);
    return true;
}

void SaveLink(IShellLinkA* link, const char* name) {
    if (!DescribeLink(link)) return;
    IPersistFile* file = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) return;
    WCHAR wide[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, name, -1, wide, MAX_PATH) > 0) {
        file->Save(wide, TRUE);
    }
    file->Release();
}

}  // namespace

void UpdateStartupShortcut(int on) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
        return;
    }
    char name[MAX_PATH];
    if (StartupShortcutName(name)) {
        if (on) {
            SaveLink(link, name);
        } else {
            DeleteFileA(name);
        }
    }
    link->Release();
}
