#include "tests/framework/TestSheet.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
// One control of a dialog template, written out for comparison:
// id class "text" x,y,cx,cy style exstyle (hexadecimal).
std::wstring Describe(DWORD id, const std::wstring& className, const std::wstring& text,
                      const short (&box)[4], DWORD style, DWORD exStyle)
{
    wchar_t numbers[96];
    swprintf(numbers, 96, L" %d,%d,%d,%d %08lx %lx", box[0], box[1], box[2], box[3],
             static_cast<unsigned long>(style), static_cast<unsigned long>(exStyle));
    return std::to_wstring(id) + L" " + className + L" \"" + text + L"\"" + numbers;
}

// Walks an extended dialog template (DIALOGEX) in the executable's resources.
class TemplateReader
{
public:
    explicit TemplateReader(UINT id)
    {
        const HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_DIALOG);
        m_base = m_at =
            resource ? static_cast<const BYTE*>(LockResource(LoadResource(nullptr, resource)))
                     : nullptr;
    }
    bool Found() const { return m_base != nullptr; }

    template <class T> T Get()
    {
        T value;
        std::memcpy(&value, m_at, sizeof value);
        m_at += sizeof value;
        return value;
    }
    // A string or an ordinal; the ordinals of the standard control classes give their names.
    std::wstring NameOrOrdinal()
    {
        WORD unit = Get<WORD>();
        if (unit == 0xFFFF)
        {
            const WORD ordinal = Get<WORD>();
            const wchar_t* const names[] = {L"BUTTON", L"EDIT", L"STATIC", L"LISTBOX"};
            return ordinal >= 0x80 && ordinal <= 0x83 ? names[ordinal - 0x80]
                                                      : L"#" + std::to_wstring(ordinal);
        }
        std::wstring text;
        for (; unit != 0; unit = Get<WORD>())
            text += static_cast<wchar_t>(unit);
        return text;
    }
    void Skip(size_t bytes) { m_at += bytes; }
    void AlignToDword()
    {
        while ((m_at - m_base) % 4 != 0)
            ++m_at;
    }

private:
    const BYTE* m_base;
    const BYTE* m_at;
};

struct DialogHeader
{
    std::wstring description; // as for a control, with the caption and an id of 0
    std::wstring font;
    WORD pointSize;
    std::vector<std::wstring> controls;
};

// Class names are not case-sensitive; they are compared in upper case.
std::wstring ClassName(TemplateReader& reader)
{
    std::wstring name = reader.NameOrOrdinal();
    CharUpperBuffW(&name[0], static_cast<DWORD>(name.size()));
    return name;
}

DialogHeader ReadTemplate(UINT id)
{
    DialogHeader dialog;
    TemplateReader reader(id);
    if (!reader.Found() || reader.Get<WORD>() != 1 || reader.Get<WORD>() != 0xFFFF)
        return dialog;
    reader.Get<DWORD>(); // help id
    const DWORD exStyle = reader.Get<DWORD>();
    const DWORD style = reader.Get<DWORD>();
    const WORD count = reader.Get<WORD>();
    const short box[4] = {reader.Get<short>(), reader.Get<short>(), reader.Get<short>(),
                          reader.Get<short>()};
    const std::wstring menu = reader.NameOrOrdinal();
    const std::wstring windowClass = reader.NameOrOrdinal();
    dialog.description =
        Describe(0, menu + windowClass, reader.NameOrOrdinal(), box, style, exStyle);
    if (style & DS_SETFONT)
    {
        dialog.pointSize = reader.Get<WORD>();
        reader.Skip(4); // weight, italic, character set
        dialog.font = reader.NameOrOrdinal();
    }
    for (WORD i = 0; i < count; ++i)
    {
        reader.AlignToDword();
        reader.Get<DWORD>(); // help id
        const DWORD itemExStyle = reader.Get<DWORD>();
        const DWORD itemStyle = reader.Get<DWORD>();
        const short itemBox[4] = {reader.Get<short>(), reader.Get<short>(), reader.Get<short>(),
                                  reader.Get<short>()};
        const DWORD itemId = reader.Get<DWORD>();
        const std::wstring className = ClassName(reader);
        const std::wstring text = reader.NameOrOrdinal();
        reader.Skip(reader.Get<WORD>());
        dialog.controls.push_back(
            Describe(itemId, className, text, itemBox, itemStyle, itemExStyle));
    }
    return dialog;
}

constexpr DWORD kVisibleChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kCheckBox = kVisibleChild | BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kGroupBox = kVisibleChild | BS_GROUPBOX;
constexpr DWORD kList =
    kVisibleChild | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP;

std::wstring LineOf(HWND list, int index)
{
    wchar_t text[16] = {};
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}
} // namespace

TEST(Resources, OptionsTemplateHasItsControlsInTabOrder)
{
    const DialogHeader dialog = ReadTemplate(IDD_OPTIONS);
    EXPECT_EQ(dialog.description,
              Describe(0, L"", L"Options", {0, 0, 295, 162},
                       DS_SETFONT | DS_CONTROL | WS_CHILD | WS_CAPTION | WS_SYSMENU, 0));
    EXPECT_EQ(dialog.font, L"MS Shell Dlg");
    EXPECT_EQ(dialog.pointSize, 8);
    const std::vector<std::wstring> expected = {
        Describe(1001, L"BUTTON", L"Disable &Sound", {12, 12, 266, 15}, kCheckBox, 0),
        Describe(1003, L"BUTTON", L"Disable &Music", {12, 25, 252, 15}, kCheckBox, 0),
        Describe(1002, L"BUTTON", L"Disable &Joysticks", {12, 38, 247, 15}, kCheckBox, 0),
        Describe(1006, L"BUTTON", L"Disable Mo&vies", {12, 51, 262, 15}, kCheckBox, 0),
        Describe(1007, L"BUTTON", L"Disable Sound &Filters", {12, 64, 235, 15}, kCheckBox, 0),
        Describe(1008, L"BUTTON", L"Disable Hard&ware Sound", {12, 77, 229, 15}, kCheckBox, 0),
        Describe(1009, L"BUTTON", L"Restore &Defaults", {12, 90, 258, 15}, kCheckBox, 0),
        Describe(1012, L"BUTTON", L"Advanced Command Line Input", {5, 120, 282, 30},
                 WS_CHILD | WS_DISABLED | BS_GROUPBOX, 0),
        Describe(1010, L"EDIT", L"", {12, 131, 268, 13},
                 WS_CHILD | WS_DISABLED | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0),
        Describe(1011, L"BUTTON", L"Command Line Flags", {5, 3, 282, 111}, kGroupBox, 0),
    };
    EXPECT_EQ(dialog.controls, expected);
}

TEST(Resources, DisplayTemplateHasItsControlsInTabOrder)
{
    const DialogHeader dialog = ReadTemplate(IDD_DISPLAY);
    EXPECT_EQ(dialog.description, Describe(0, L"", L"Display", {0, 0, 294, 222},
                                           DS_SETFONT | WS_CHILD | WS_CAPTION, 0));
    EXPECT_EQ(dialog.font, L"MS Shell Dlg");
    EXPECT_EQ(dialog.pointSize, 8);
    // Each list follows a hidden label in its group's place.
    const DWORD label = WS_CHILD | SS_LEFT;
    const std::vector<std::wstring> expected = {
        Describe(1005, L"BUTTON", L"Resolutions", {5, 3, 113, 195}, kGroupBox, 0),
        Describe(1015, L"STATIC", L"Resolutions", {5, 3, 113, 195}, label, 0),
        Describe(1002, L"LISTBOX", L"", {12, 15, 98, 177}, kList, 0),
        Describe(1006, L"BUTTON", L"Renderers", {128, 3, 159, 105}, kGroupBox, 0),
        Describe(1016, L"STATIC", L"Renderers", {128, 3, 159, 105}, label, 0),
        Describe(1004, L"LISTBOX", L"", {135, 16, 143, 84}, kList | LBS_SORT, 0),
        Describe(1007, L"BUTTON", L"Displays", {128, 111, 159, 87}, kGroupBox, 0),
        Describe(1017, L"STATIC", L"Displays", {128, 111, 159, 87}, label, 0),
        Describe(1003, L"LISTBOX", L"", {135, 123, 144, 69}, kList | LBS_SORT, 0),
        Describe(1014, L"STATIC",
                 L"* The game is not optimized for these non-standard resolutions.",
                 {8, 199, 274, 21}, kVisibleChild | SS_LEFT | WS_GROUP, 0),
    };
    EXPECT_EQ(dialog.controls, expected);
}

namespace
{
// The application manifest (resource type 24, id 1); "" when there is none.
std::string Manifest()
{
    const HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    if (!resource)
        return std::string();
    return std::string(static_cast<const char*>(LockResource(LoadResource(nullptr, resource))),
                       SizeofResource(nullptr, resource));
}
} // namespace

TEST(Resources, ManifestBindsCommonControlsSix)
{
    const std::string manifest = Manifest();
    const size_t dependency = manifest.find("name=\"Microsoft.Windows.Common-Controls\"");
    ASSERT_NE(dependency, std::string::npos);
    const std::string identity = manifest.substr(manifest.rfind('<', dependency));
    const std::string element = identity.substr(0, identity.find('>'));
    EXPECT_NE(element.find("version=\"6.0.0.0\""), std::string::npos) << element;
    EXPECT_NE(element.find("processorArchitecture=\"*\""), std::string::npos) << element;

    // Bound to version 6, the loader takes the common controls from the side-by-side store.
    InitCommonControls();
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"comctl32.dll"), path, MAX_PATH);
    CharLowerW(path);
    EXPECT_NE(wcsstr(path, L"microsoft.windows.common-controls_6595b64144ccf1df_6.0."), nullptr)
        << path;
}

TEST(Resources, ManifestRunsAsTheInvokerOnEverySystemFromVistaOn)
{
    // Without a requested level Windows redirects the launcher's writes to shared folders into
    // a per-user copy; without the systems listed it treats the launcher as a Vista program.
    const std::string manifest = Manifest();
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\""), std::string::npos);
    for (const char* system :
         {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
          "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
          "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        EXPECT_NE(manifest.find(system), std::string::npos) << system;
}

TEST(Resources, ManifestMakesTheProcessPerMonitorDpiAware)
{
    // PerMonitorV2 where Windows knows it, system-wide awareness everywhere else: the sheet
    // does not rescale itself on WM_DPICHANGED, as per-monitor V1 awareness would ask of it.
    // Windows that know dpiAwareness take the first mode of its list they know and ignore
    // dpiAware; older ones read dpiAware alone.
    const std::string manifest = Manifest();
    EXPECT_NE(manifest.find(">PerMonitorV2, System</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);

    // The loader took the first mode, not the system-wide fallback: the thread runs
    // per-monitor aware.
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto threadContext = reinterpret_cast<HANDLE(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    const auto awarenessOf = reinterpret_cast<int(WINAPI*)(HANDLE)>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    ASSERT_TRUE(threadContext && awarenessOf);
    const int perMonitorAware = 2;
    EXPECT_EQ(perMonitorAware, awarenessOf(threadContext()));
}

TEST(Resources, LivePagesKeepAdvancedControlsHiddenAndSortTwoLists)
{
    TestSheet sheet;
    const HWND hwnd = sheet.Create();
    ASSERT_NE(hwnd, nullptr);
    PumpMessages(hwnd);
    const HWND display = sheet.m_lists.GetSafeHwnd();
    for (int id : {IDC_LIST_RESOLUTIONS, IDC_LIST_RENDERERS, IDC_LIST_DISPLAYS})
    {
        const HWND list = GetDlgItem(display, id);
        for (const wchar_t* line : {L"b", L"a"})
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
        EXPECT_EQ(LineOf(list, 0), id == IDC_LIST_RESOLUTIONS ? L"b" : L"a") << id;
    }

    PropSheet_SetCurSel(hwnd, nullptr, 1);
    PumpMessages(hwnd);
    const HWND options = sheet.m_switches.GetSafeHwnd();
    ASSERT_NE(options, nullptr);
    for (int id :
         {IDC_CHECK_DISABLE_SOUND, IDC_CHECK_RESTORE_DEFAULTS, IDC_STATIC_COMMAND_LINE_FLAGS})
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(options, id))) << id;
    for (int id : {IDC_STATIC_ADVANCED_COMMAND_LINE, IDC_EDIT_COMMAND_LINE})
    {
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(options, id))) << id;
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(options, id))) << id;
    }
}
