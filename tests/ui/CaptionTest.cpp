// Every caption of the sheet, in every language the build knows: it fits its control, measured
// with the control's own font on its own DC at the screen resolution the test runs at, each of
// its characters has a glyph in that font or in a font linked to it, and the access keys lead
// to every control the keyboard reaches, one control per key on each page. The layout lets a
// controller's D-pad reach every one of those controls too.
#include "framework/DirectionalFocus.h"
#include "ui/PropertySheet_ConfigApp.h"
#include "ui/resource.h"

#include "strings/StringDatabase.h"
#include "tests/support/AccessKey.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestEnvironment.h"

#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace
{
std::vector<std::string> Languages()
{
    std::vector<std::string> languages;
    std::istringstream list(CONFIG_LANGUAGES);
    for (std::string language; std::getline(list, language, ',');)
        languages.push_back(language);
    return languages;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

std::wstring TabCaption(HWND tabs, int index)
{
    wchar_t text[128] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    TabCtrl_GetItem(tabs, index, &item);
    return text;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The text as drawn: "&x" underlines x, "&&" shows one "&".
std::wstring Drawn(const std::wstring& caption)
{
    std::wstring text;
    for (size_t i = 0; i < caption.size(); ++i)
    {
        if (caption[i] == L'&' && i + 1 < caption.size())
            ++i;
        text += caption[i];
    }
    return text;
}

// Measures texts with a control's own font on the control's own DC.
class ControlDc
{
public:
    explicit ControlDc(HWND control)
        : m_control(control), m_dc(GetDC(control)),
          m_previous(
              SelectObject(m_dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0))))
    {
    }
    ~ControlDc()
    {
        SelectObject(m_dc, m_previous);
        ReleaseDC(m_control, m_dc);
    }
    ControlDc(const ControlDc&) = delete;
    ControlDc& operator=(const ControlDc&) = delete;

    int Width(const std::wstring& text) const
    {
        SIZE size = {};
        GetTextExtentPoint32W(m_dc, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    // The box a word-wrapping static draws `caption` in: `width` wide unless one word is
    // wider, as high as its lines.
    RECT Wrapped(const std::wstring& caption, int width) const
    {
        RECT box = {0, 0, width, 0};
        DrawTextW(m_dc, caption.c_str(), -1, &box, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
        return box;
    }
    int Dpi() const { return GetDeviceCaps(m_dc, LOGPIXELSX); }
    HDC Handle() const { return m_dc; }

    // The characters of `text` that the font, with the fonts linked to it, draws as it draws
    // U+FFFF, which no font has: the box of a missing glyph.
    std::wstring MissingGlyphs(const std::wstring& text) const
    {
        const HDC canvas = CreateCompatibleDC(m_dc);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kCanvasSize;
        info.bmiHeader.biHeight = -kCanvasSize;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        const HBITMAP bitmap = CreateDIBSection(canvas, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ previousBitmap = SelectObject(canvas, bitmap);
        const HGDIOBJ previousFont = SelectObject(canvas, GetCurrentObject(m_dc, OBJ_FONT));
        const auto draw = [&](wchar_t character)
        {
            PatBlt(canvas, 0, 0, kCanvasSize, kCanvasSize, WHITENESS);
            TextOutW(canvas, 0, 0, &character, 1);
            GdiFlush();
            const auto* pixels = static_cast<const DWORD*>(bits);
            return std::vector<DWORD>(pixels, pixels + kCanvasSize * kCanvasSize);
        };
        const std::vector<DWORD> missing = draw(L'\xFFFF');
        std::wstring boxes;
        for (wchar_t character : text)
        {
            // A blank draws nothing, as an empty box might.
            if (!iswspace(character) && draw(character) == missing)
                boxes += character;
        }
        SelectObject(canvas, previousFont);
        SelectObject(canvas, previousBitmap);
        DeleteObject(bitmap);
        DeleteDC(canvas);
        return boxes;
    }

private:
    // Large enough for one character of the handheld layout's font at 144 DPI.
    static const int kCanvasSize = 64;

    HWND m_control;
    HDC m_dc;
    HGDIOBJ m_previous;
};

// The width a button of `clientWidth` leaves its caption.
int TextRoom(HWND button, const ControlDc& dc, int clientWidth)
{
    const int dpi = dc.Dpi();
    switch (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK)
    {
    case BS_GROUPBOX:
        // The caption sits in the frame, indented on both sides.
        return clientWidth - 2 * MulDiv(7, dpi, 96);
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        // The box, then a gap of half a digit's width.
        return clientWidth - MulDiv(13, dpi, 96) - dc.Width(L"0") / 2;
    default:
        // The raised edge and the focus rectangle inside it.
        return clientWidth - 2 * MulDiv(4, dpi, 96);
    }
}

BOOL CALLBACK CollectChild(HWND child, LPARAM children)
{
    reinterpret_cast<std::vector<HWND>*>(children)->push_back(child);
    return TRUE;
}

// The sheet in one language, with both pages created, opened in a working folder of its own.
struct OpenSheet
{
    explicit OpenSheet(const std::string& language)
        : strings(DatabasePath(language).c_str()),
          sheet(L"Sheet", &strings, [this] { return settingsPath; })
    {
        const ScopedCurrentDirectory inWorking(working.Path());
        hwnd = sheet.Create();
        // The Options page gets its window when its tab is first shown.
        PropSheet_SetCurSel(hwnd, nullptr, 1);
        PumpMessages(hwnd);
    }
    static std::string DatabasePath(const std::string& language)
    {
        const std::wstring bin = BuildBinFolder();
        return std::string(bin.begin(), bin.end()) + "\\Config." + language + ".Strdb00p";
    }

    TempFolder working;
    const std::string settingsPath = working / "settings.cfg";
    CStringDatabase strings;
    CPropertySheet_ConfigApp sheet;
    HWND hwnd = nullptr;
};

class LocalizedSheet : public testing::TestWithParam<std::string>
{
protected:
    // Each language's sheet, opened once, serves every test of that language: the tests only
    // read its windows.
    static HWND Sheet(const std::string& language)
    {
        std::unique_ptr<OpenSheet>& open = s_sheets[language];
        if (!open)
            open = std::make_unique<OpenSheet>(language);
        return open->hwnd;
    }
    static void TearDownTestSuite() { s_sheets.clear(); }

    static std::map<std::string, std::unique_ptr<OpenSheet>> s_sheets;
};
std::map<std::string, std::unique_ptr<OpenSheet>> LocalizedSheet::s_sheets;

// A group box or a static text: its access key moves the focus on to the next control that
// takes it.
bool IsLabel(HWND control)
{
    const std::wstring kind = ClassOf(control);
    return kind == L"Static" ||
           (kind == L"Button" && (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX);
}
} // namespace

TEST_P(LocalizedSheet, EveryCaptionFitsItsControl)
{
    const HWND hwnd = Sheet(GetParam());
    ASSERT_NE(hwnd, nullptr);

    // The Wine wrapper runs the test at the resolution WINE_RUN_DPI asks for.
    const char* expectedDpi = std::getenv("WINE_RUN_DPI");
    EXPECT_EQ(expectedDpi ? std::atoi(expectedDpi) : 96, ControlDc(hwnd).Dpi());

    std::vector<HWND> controls;
    EnumChildWindows(hwnd, &CollectChild, reinterpret_cast<LPARAM>(&controls));
    int captions = 0;
    for (HWND control : controls)
    {
        RECT client;
        GetClientRect(control, &client);
        const ControlDc dc(control);
        const std::wstring kind = ClassOf(control);
        if (kind == WC_TABCONTROLW)
        {
            for (int tab = 0; tab < TabCtrl_GetItemCount(control); ++tab, ++captions)
            {
                const std::wstring text = TabCaption(control, tab);
                RECT box;
                TabCtrl_GetItemRect(control, tab, &box);
                EXPECT_LE(dc.Width(Drawn(text)), box.right - box.left) << text;
                EXPECT_LE(box.right, client.right) << text;
                EXPECT_EQ(L"", dc.MissingGlyphs(text)) << text;
            }
            continue;
        }
        const std::wstring caption = WindowText(control);
        if (caption.empty() || (kind != L"Button" && kind != L"Static"))
            continue;
        ++captions;
        EXPECT_EQ(L"", dc.MissingGlyphs(caption)) << caption;
        if (kind == L"Static")
        {
            const RECT box = dc.Wrapped(caption, client.right);
            EXPECT_LE(box.right, client.right) << caption;
            EXPECT_LE(box.bottom, client.bottom) << caption;
            continue;
        }
        EXPECT_LE(dc.Width(Drawn(caption)), TextRoom(control, dc, client.right)) << caption;
    }
    // Two tabs, four buttons, the controller hints, seven statics of the Display page (three
    // of them the lists' hidden labels), nine of the Options page.
    EXPECT_EQ(23, captions);
}

TEST_P(LocalizedSheet, EveryReachableControlHasAnAccessKeyOfItsOwnOnItsPage)
{
    const HWND hwnd = Sheet(GetParam());
    ASSERT_NE(hwnd, nullptr);
    // As in Windows' own sheets, OK and Cancel answer Enter and Esc, and Apply takes no key;
    // nor do the controller hints, which are no label.
    for (int control : {IDOK, IDCANCEL, static_cast<int>(ID_APPLY_NOW), IDC_STATIC_GAMEPAD_HINTS})
        EXPECT_EQ(0, AccessKey(WindowText(GetDlgItem(hwnd, control))))
            << GetParam() << ": control " << control << " takes no access key";

    const HWND tabs = PropSheet_GetTabControl(hwnd);
    const wchar_t* const pageNames[] = {L"Display", L"Options"};
    for (int index = 0; index < 2; ++index)
    {
        const std::wstring where = Widen(GetParam()) + L", page " + pageNames[index] + L": ";
        // Each key and the caption that has it; the tabs' keys work on every page.
        std::map<wchar_t, std::wstring> owners;
        const auto claim = [&](const std::wstring& caption)
        {
            const wchar_t key = AccessKey(caption);
            if (key == 0)
                return;
            const auto owner = owners.emplace(key, caption);
            EXPECT_TRUE(owner.second)
                << where << "the key " << std::wstring(1, key) << " of \"" << caption
                << "\" is also that of \"" << owner.first->second << "\"";
        };
        for (int tab = 0; tab < TabCtrl_GetItemCount(tabs); ++tab)
            claim(TabCaption(tabs, tab));

        HWND previous = nullptr;
        const HWND page = PropSheet_IndexToHwnd(hwnd, index);
        for (HWND control = GetWindow(page, GW_CHILD); control;
             control = GetWindow(control, GW_HWNDNEXT))
        {
            // Hidden or disabled controls take no key and no focus.
            const LONG style = GetWindowLongW(control, GWL_STYLE);
            if ((style & (WS_VISIBLE | WS_DISABLED)) != WS_VISIBLE)
                continue;
            const std::wstring caption = WindowText(control);
            claim(caption);
            // Tab reaches it: the key is its own (a check box) or that of the label before it
            // (a list after its group box).
            const bool labelled =
                previous && IsLabel(previous) && AccessKey(WindowText(previous)) != 0;
            if (style & WS_TABSTOP)
            {
                EXPECT_TRUE(AccessKey(caption) != 0 || labelled)
                    << where << "control " << GetDlgCtrlID(control) << " (\"" << caption
                    << "\") has no access key";
            }
            previous = control;
        }
    }
}

namespace
{
// The name Windows' accessibility layer gives a control: its own text, or for a list or an
// edit field, which have none, that of the static text before it in z-order (the tab order),
// looked for back to the first control with both WS_GROUP and WS_TABSTOP. Access-key marks
// are dropped; "" when nothing names it.
std::wstring NameByTheDocumentedRule(HWND control)
{
    const std::wstring kind = ClassOf(control);
    if (kind != L"ListBox" && kind != L"Edit")
        return Drawn(WindowText(control));
    for (HWND before = GetWindow(control, GW_HWNDPREV); before;
         before = GetWindow(before, GW_HWNDPREV))
    {
        if (ClassOf(before) == L"Static")
            return Drawn(WindowText(before));
        const LONG style = GetWindowLongW(before, GWL_STYLE);
        if ((style & (WS_GROUP | WS_TABSTOP)) == (WS_GROUP | WS_TABSTOP))
            break;
    }
    return std::wstring();
}

// The name the system's own accessibility layer (oleacc) answers for `child` of `control`;
// false when it names nothing, as Wine's does for a list.
bool AnsweredName(HWND control, LONG child, std::wstring& name)
{
    IAccessible* accessible = nullptr;
    // MinGW's import library has no GUID under IID_IAccessible, only an import of that name.
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible))) ||
        !accessible)
        return false;
    VARIANT which;
    VariantInit(&which);
    which.vt = VT_I4;
    which.lVal = child;
    BSTR text = nullptr;
    const HRESULT result = accessible->get_accName(which, &text);
    accessible->Release();
    if (result == S_OK && text)
        name.assign(text, SysStringLen(text));
    SysFreeString(text);
    return result == S_OK && !name.empty();
}

// The caption of the group box on `page`, not hidden, whose frame holds `control`; "" when none.
std::wstring FramingGroupCaption(HWND page, HWND control)
{
    RECT inner;
    GetWindowRect(control, &inner);
    for (HWND group = GetWindow(page, GW_CHILD); group; group = GetWindow(group, GW_HWNDNEXT))
    {
        RECT frame;
        GetWindowRect(group, &frame);
        RECT both;
        const bool isGroup = ClassOf(group) == L"Button" &&
                             (GetWindowLongW(group, GWL_STYLE) & WS_VISIBLE) &&
                             (GetWindowLongW(group, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
        if (isGroup && IntersectRect(&both, &frame, &inner) && EqualRect(&both, &inner))
            return Drawn(WindowText(group));
    }
    return std::wstring();
}
} // namespace

TEST_P(LocalizedSheet, AScreenReaderNamesEveryControlAsThePlayerSeesIt)
{
    const HWND hwnd = Sheet(GetParam());
    ASSERT_NE(hwnd, nullptr);
    const std::wstring language = Widen(GetParam()) + L": ";

    const HWND tabs = PropSheet_GetTabControl(hwnd);
    for (int tab = 0; tab < TabCtrl_GetItemCount(tabs); ++tab)
    {
        std::wstring answered;
        if (AnsweredName(tabs, tab + 1, answered))
        {
            EXPECT_EQ(Drawn(TabCaption(tabs, tab)), answered) << language << "tab " << tab;
        }
    }
    // The button row, then each page's controls; what is hidden is read by no one.
    std::vector<std::pair<HWND, HWND>> controls;
    for (HWND control = GetWindow(hwnd, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT))
    {
        if (ClassOf(control) == L"Button" && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE))
            controls.emplace_back(hwnd, control);
    }
    for (int index = 0; index < 2; ++index)
    {
        const HWND page = PropSheet_IndexToHwnd(hwnd, index);
        for (HWND control = GetWindow(page, GW_CHILD); control;
             control = GetWindow(control, GW_HWNDNEXT))
        {
            if (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE)
                controls.emplace_back(page, control);
        }
    }
    for (const auto& [parent, control] : controls)
    {
        // A list reads as the group box that frames it; every other control as its caption.
        const std::wstring seen = ClassOf(control) == L"ListBox"
                                      ? FramingGroupCaption(parent, control)
                                      : Drawn(WindowText(control));
        const std::wstring where =
            language + L"control " + std::to_wstring(GetDlgCtrlID(control)) + L" \"" + seen + L"\"";
        EXPECT_FALSE(seen.empty()) << where;
        EXPECT_EQ(seen, NameByTheDocumentedRule(control)) << where;
        std::wstring answered;
        if (AnsweredName(control, CHILDID_SELF, answered))
        {
            EXPECT_EQ(seen, answered) << where;
        }
    }
}

static BOOL CALLBACK CollectFocusable(HWND child, LPARAM controls)
{
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if ((style & WS_TABSTOP) && IsWindowVisible(child) && IsWindowEnabled(child) &&
        ClassOf(child) != L"#32770")
        reinterpret_cast<std::set<HWND>*>(controls)->insert(child);
    return TRUE;
}

TEST_P(LocalizedSheet, TheDPadReachesEveryControlThatTabReaches)
{
    const HWND hwnd = Sheet(GetParam());
    ASSERT_NE(hwnd, nullptr);
    for (int index = 0; index < 2; ++index)
    {
        PropSheet_SetCurSel(hwnd, nullptr, index);
        std::set<HWND> focusable;
        EnumChildWindows(hwnd, &CollectFocusable, reinterpret_cast<LPARAM>(&focusable));
        const HWND first = GetNextDlgTabItem(PropSheet_GetCurrentPageHwnd(hwnd), nullptr, FALSE);
        std::set<HWND> reached = {first};
        std::vector<HWND> next = {first};
        while (!next.empty())
        {
            const HWND from = next.back();
            next.pop_back();
            for (PadAction move : {PadAction::MoveUp, PadAction::MoveDown, PadAction::MoveLeft,
                                   PadAction::MoveRight})
            {
                const HWND to = ControlInDirection(hwnd, from, move);
                if (!to)
                    continue;
                // The control moved to lies that way: its centre beyond the one left.
                const RECT origin = LayoutRect(from);
                const RECT target = LayoutRect(to);
                const bool vertical = move == PadAction::MoveUp || move == PadAction::MoveDown;
                const LONG beyond = vertical
                                        ? target.top + target.bottom - origin.top - origin.bottom
                                        : target.left + target.right - origin.left - origin.right;
                const bool forward = move == PadAction::MoveDown || move == PadAction::MoveRight;
                EXPECT_GT(forward ? beyond : -beyond, 0)
                    << GetParam() << ", page " << index << ": move " << static_cast<int>(move)
                    << " from " << GetDlgCtrlID(from) << " to " << GetDlgCtrlID(to);
                if (reached.insert(to).second)
                    next.push_back(to);
            }
        }
        std::wstring missed;
        for (HWND control : focusable)
        {
            if (!reached.count(control))
                missed += L" " + std::to_wstring(GetDlgCtrlID(control)) + L" \"" +
                          WindowText(control) + L"\"";
        }
        EXPECT_TRUE(missed.empty())
            << GetParam() << ", page " << index << ": the D-pad misses" << missed;
    }
}

TEST_P(LocalizedSheet, OnAHandheldTheSheetIsLegibleAndCentredOnA1280By800Screen)
{
    // Asked of the environment, not of the launcher, so that a launcher that misses the
    // variable fails here.
    const auto setToOne = [](const char* name)
    { return std::getenv(name) && std::string(std::getenv(name)) == "1"; };
    if (!setToOne("SteamDeck") && !setToOne("SteamGamepadUI"))
        GTEST_SKIP() << "for runs with SteamDeck=1";
    const HWND hwnd = Sheet(GetParam());
    ASSERT_NE(hwnd, nullptr);
    // A font 12 pixels high or more, the size recommended for the handheld's screen, on the
    // sheet and on both pages.
    const HWND windows[] = {hwnd, PropSheet_IndexToHwnd(hwnd, 0), PropSheet_IndexToHwnd(hwnd, 1)};
    const char* const names[] = {"the sheet", "the Display page", "the Options page"};
    for (int index = 0; index < 3; ++index)
    {
        const ControlDc dc(windows[index]);
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc.Handle(), &metrics);
        EXPECT_GE(metrics.tmHeight - metrics.tmInternalLeading, 12) << names[index];
    }

    RECT sheet;
    GetWindowRect(hwnd, &sheet);
    EXPECT_LE(sheet.right - sheet.left, 1280);
    EXPECT_LE(sheet.bottom - sheet.top, 800);
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_LE(std::abs((sheet.left - area.left) - (area.right - sheet.right)), 1);
    EXPECT_LE(std::abs((sheet.top - area.top) - (area.bottom - sheet.bottom)), 1);
}

INSTANTIATE_TEST_SUITE_P(Languages, LocalizedSheet, testing::ValuesIn(Languages()),
                         [](const testing::TestParamInfo<std::string>& info)
                         {
                             // Test names take letters, digits and "_": zh-Hans runs as zh_Hans.
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });
