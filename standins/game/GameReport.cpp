#include "standins/game/GameReport.h"

#include "standins/game/GameIdentity.h"
#include "text/TextConversion.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <list>

namespace
{
const char* const kKnownKeys[] = {
    "RestoreDefaults", "DisableSound",        "MusicEnable",          "DisableJoystick",
    "DisableMovies",   "DisableSoundFilters", "DisableHardwareSound", "DeviceName",
    "Renderer",        "ScreenWidth",         "ScreenHeight",         "BitDepth",
};

std::string AnsiToUtf8(const std::string& text)
{
    return WideToUtf8(AnsiToWide(text.c_str(), text.size()));
}

// Control bytes written as \xHH, so that a value never breaks its line.
std::string OnOneLine(const std::string& text)
{
    std::string result;
    for (const char byte : text)
    {
        const unsigned char value = static_cast<unsigned char>(byte);
        if (value < 0x20 || value == 0x7F)
        {
            char escaped[5];
            snprintf(escaped, sizeof escaped, "\\x%02X", value);
            result += escaped;
        }
        else
        {
            result += byte;
        }
    }
    return result;
}

void AddLine(std::string& report, const std::string& name, const std::string& value)
{
    report += OnOneLine(name) + ": " + OnOneLine(value) + "\n";
}

// The value a take of `key` gives, or "(not set)" when the take would give its default.
std::string TakeForReport(CSettingsFile& settings, const char* key)
{
    const std::list<std::string>& tokens = settings.Tokens();
    const auto found = std::find(tokens.begin(), tokens.end(), key);
    const bool hasValue = found != tokens.end() && std::next(found) != tokens.end();
    const std::string value = settings.TakeString(key, "");
    return hasValue ? AnsiToUtf8(value) : "(not set)";
}
} // namespace

std::string ComposeGameReport(const GameStart& start, CSettingsFile settings)
{
    const bool freeEdition = IsFreeEditionExecutable(start.executablePath);
    std::string report;
    AddLine(report, "game", WideToUtf8(FileNameOf(start.executablePath)));
    AddLine(report, "edition", freeEdition ? "free multiplayer" : "retail");
    AddLine(report, "edition folder", EditionFolderName(freeEdition));
    AddLine(report, "executable path", WideToUtf8(start.executablePath));
    AddLine(report, "command line", WideToUtf8(start.commandLine));
    AddLine(report, "arguments", WideToUtf8(ArgumentsAfterProgramName(start.commandLine)));
    AddLine(report, "working folder", WideToUtf8(start.workingFolder));
    AddLine(report, "settings path",
            start.settingsPath.empty() ? "(no settings folder)" : AnsiToUtf8(start.settingsPath));
    AddLine(report, "settings file", start.settingsFileFound ? "found" : "not found");

    for (const char* key : kKnownKeys)
        AddLine(report, key, TakeForReport(settings, key));

    const std::list<std::string>& rest = settings.Tokens();
    for (auto token = rest.begin(); token != rest.end(); ++token)
    {
        const auto value = std::next(token);
        if (value == rest.end())
        {
            AddLine(report, "unpaired", AnsiToUtf8(*token));
            break;
        }
        AddLine(report, "other " + AnsiToUtf8(*token), AnsiToUtf8(*value));
        token = value;
    }
    return report;
}
