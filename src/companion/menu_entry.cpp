#include "companion/menu_entry.h"

#include "handles/registry_key.h"

namespace {

LONG SetText(HKEY key, const wchar_t* name, const std::wstring& text) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

LONG WriteEntry(const std::wstring& companionPath, const std::wstring& ferroletPath) {
    RegistryKey verb;
    LONG result = RegCreateKeyExW(HKEY_CURRENT_USER, VerbKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_SET_VALUE, nullptr, verb.Receive(), nullptr);
    if (result == ERROR_SUCCESS) {
        result = SetText(verb.Get(), nullptr, VerbText);
    }
    if (result == ERROR_SUCCESS) {
        result = SetText(verb.Get(), IconValue, ferroletPath + L",0");
    }
    if (result == ERROR_SUCCESS) {
        result = SetText(verb.Get(), MultiSelectModelValue, MultiSelectModelPlayer);
    }
    RegistryKey command;
    if (result == ERROR_SUCCESS) {
        result =
            RegCreateKeyExW(HKEY_CURRENT_USER, VerbCommandKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_SET_VALUE, nullptr, command.Receive(), nullptr);
    }
    if (result == ERROR_SUCCESS) {
        result = SetText(command.Get(), nullptr, VerbCommand(companionPath));
    }
    return result;
}

// Deletes the key when it holds neither keys nor values: the install made it, or it says nothing.
void RemoveIfEmpty(const wchar_t* path) {
    RegistryKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, key.Receive()) !=
        ERROR_SUCCESS) {
        return;
    }
    DWORD subkeys = 0;
    DWORD values = 0;
    if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
        subkeys == 0 && values == 0) {
        key.Reset();
        RegDeleteKeyW(HKEY_CURRENT_USER, path);
    }
}

} // namespace

std::wstring VerbCommand(const std::wstring& companionPath) {
    return L"\"" + companionPath + L"\" " + AddItemsOption + L" \"%1\"";
}

LONG InstallMenuEntry(const std::wstring& companionPath, const std::wstring& ferroletPath) {
    const LONG result = WriteEntry(companionPath, ferroletPath);
    if (result != ERROR_SUCCESS) {
        RemoveMenuEntry();
    }
    return result;
}

LONG RemoveMenuEntry() {
    RegistryKey verbs;
    LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, VerbsKey, 0,
                                DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE,
                                verbs.Receive());
    if (result == ERROR_FILE_NOT_FOUND) {
        return ERROR_SUCCESS;
    }
    if (result == ERROR_SUCCESS) {
        result = RegDeleteTreeW(verbs.Get(), VerbName);
    }
    verbs.Reset();
    if (result == ERROR_FILE_NOT_FOUND) {
        result = ERROR_SUCCESS;
    }
    RemoveIfEmpty(VerbsKey);
    RemoveIfEmpty(FilesAndFoldersKey);
    return result;
}
