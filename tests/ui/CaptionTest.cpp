// Every caption of the sheet, in every language the build knows, fits its control: measured
// with the control's own font on its own DC, at the screen resolution the test runs at.
#include "ui/PropertySheet_ConfigApp.h"

#include "strings/StringDatabase.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestEnvironment.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
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

private:
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

class CaptionFit : public testing::TestWithParam<std::string>
{
protected:
    TempFolder m_working;
    ScopedCurrentDirectory m_inWorking{m_working.Path()};
    const std::string m_settingsPath = m_working / "settings.cfg";
};
} // namespace

TEST_P(CaptionFit, EveryCaptionFitsItsControl)
{
    const std::wstring bin = BuildBinFolder();
    const std::string database =
        std::string(bin.begin(), bin.end()) + "\\Config." + GetParam() + ".Strdb00p";
    CStringDatabase strings(database.c_str());
    CPropertySheet_ConfigApp sheet(L"Sheet", &strings, [this] { return m_settingsPath; });
    const HWND hwnd = sheet.Create();
    ASSERT_NE(hwnd, nullptr);
    // The Options page gets its window when its tab is first shown.
    PropSheet_SetCurSel(hwnd, nullptr, 1);
    PumpMessages(hwnd);

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
                wchar_t text[128] = {};
                TCITEMW item = {};
                item.mask = TCIF_TEXT;
                item.pszText = text;
                item.cchTextMax = 128;
                TabCtrl_GetItem(control, tab, &item);
                RECT box;
                TabCtrl_GetItemRect(control, tab, &box);
                EXPECT_LE(dc.Width(Drawn(text)), box.right - box.left) << text;
                EXPECT_LE(box.right, client.right) << text;
            }
            continue;
        }
        const std::wstring caption = WindowText(control);
        if (caption.empty() || (kind != L"Button" && kind != L"Static"))
            continue;
        ++captions;
        if (kind == L"Static")
        {
            const RECT box = dc.Wrapped(caption, client.right);
            EXPECT_LE(box.right, client.right) << caption;
            EXPECT_LE(box.bottom, client.bottom) << caption;
            continue;
        }
        EXPECT_LE(dc.Width(Drawn(caption)), TextRoom(control, dc, client.right)) << caption;
    }
    // Two tabs, four buttons, four statics of the Display page, nine of the Options page.
    EXPECT_EQ(19, captions);
}

INSTANTIATE_TEST_SUITE_P(Languages, CaptionFit, testing::ValuesIn(Languages()),
                         [](const testing::TestParamInfo<std::string>& info)
                         { return info.param; });
