#include "framework/DialogTemplate.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace
{
INT_PTR CALLBACK IgnoreMessages(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// A writable copy of the dialog template `name` in the test program's resources.
std::vector<BYTE> TemplateCopy(const wchar_t* name)
{
    const HRSRC resource = FindResourceW(nullptr, name, RT_DIALOG);
    if (!resource)
        return {};
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, resource)));
    return std::vector<BYTE>(bytes, bytes + SizeofResource(nullptr, resource));
}
} // namespace

TEST(DialogTemplate, ADialogMadeFromAHiddenTemplateOfEitherKindStartsHidden)
{
    for (const wchar_t* name : {L"PLAINVISIBLE", L"EXTENDEDVISIBLE"})
    {
        SCOPED_TRACE(name);
        std::vector<BYTE> copy = TemplateCopy(name);
        ASSERT_FALSE(copy.empty());
        MakeTemplateHidden(copy.data());
        const HWND dialog = CreateDialogIndirectParamW(
            GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(copy.data()), nullptr,
            &IgnoreMessages, 0);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(IsWindowVisible(dialog));
        DestroyWindow(dialog);
    }
}
