#include "standins/game/GameIdentity.h"

#include "settings/FixedNames.h"

#include <wchar.h>

bool IsFreeEditionExecutable(const std::wstring& executablePath)
{
    return _wcsicmp(FileNameOf(executablePath).c_str(), kFreeExecutableNameW) == 0;
}

const char* EditionFolderName(bool freeEdition)
{
    return freeEdition ? kFreeFolderName : kRetailFolderName;
}

std::wstring FileNameOf(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

std::wstring ArgumentsAfterProgramName(const std::wstring& commandLine)
{
    size_t position = 0;
    if (!commandLine.empty() && commandLine[0] == L'"')
    {
        const size_t closing = commandLine.find(L'"', 1);
        position = closing == std::wstring::npos ? commandLine.size() : closing + 1;
    }
    else
    {
        position = commandLine.find_first_of(L" \t");
        if (position == std::wstring::npos)
            position = commandLine.size();
    }
    const size_t arguments = commandLine.find_first_not_of(L" \t", position);
    return arguments == std::wstring::npos ? std::wstring() : commandLine.substr(arguments);
}
