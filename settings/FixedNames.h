#pragma once

// Names that the game, its installation and the player's files fix, in one place for the
// launcher and the stand-in game.

// The maker's folder below the shared documents folder, and the editions' folders below it.
constexpr char kCompanyFolderName[] = "Kerrowind";
constexpr char kRetailFolderName[] = "DRAV";
constexpr char kFreeFolderName[] = "DRAVFree";

// The editions' game executables, looked for in the working folder.
constexpr char kRetailExecutableName[] = "DRAV.exe";
constexpr char kFreeExecutableName[] = "DRAVMP.exe";
constexpr wchar_t kFreeExecutableNameW[] = L"DRAVMP.exe";

// The player's settings file, in the settings folder and in the working folder.
constexpr char kSettingsFileName[] = "settings.cfg";
constexpr wchar_t kSettingsFileNameW[] = L"settings.cfg";

// The one label every renderer is listed and stored under.
constexpr wchar_t kRendererLabel[] = L"DX9 Renderer";

// The localized string database and the maker's library that reads it.
constexpr char kStringDatabaseName[] = "Config.Strdb00p";
constexpr wchar_t kStringManagerLibraryName[] = L"LexoraRuntime.dll";
