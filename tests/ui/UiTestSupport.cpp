#include "tests/ui/UiTestSupport.h"

#include "tests/support/TempFolder.h"
#include "tests/support/TestEnvironment.h"

namespace
{
std::string Narrow(const std::wstring& ascii)
{
    return std::string(ascii.begin(), ascii.end());
}
} // namespace

std::string TestDatabasePath()
{
    return Narrow(BuildBinFolder()) + "\\UiTest.Strdb00p";
}

bool CopyStandInGame(const std::string& path)
{
    const std::wstring source = BuildBinFolder() + L"\\DRAV.exe";
    return CopyFileW(source.c_str(), Widen(path).c_str(), FALSE) != FALSE;
}

CSettingsFile StoredSettings(const std::string& content)
{
    TempFolder folder;
    folder.WriteFile("settings.cfg", content);
    return CSettingsFile::Load((folder / "settings.cfg").c_str());
}

std::wstring ControlText(HWND dialog, int id)
{
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

std::wstring SelectedLine(HWND dialog, int id)
{
    const HWND list = GetDlgItem(dialog, id);
    const LRESULT line = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (line == LB_ERR)
        return std::wstring();
    std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, line, 0)), L'\0');
    SendMessageW(list, LB_GETTEXT, line, reinterpret_cast<LPARAM>(&text[0]));
    return text;
}

bool SelectLine(HWND dialog, int id, const std::wstring& text)
{
    const HWND list = GetDlgItem(dialog, id);
    const LRESULT line = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(text.c_str()));
    if (line == LB_ERR)
        return false;
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    return true;
}
