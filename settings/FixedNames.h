#pragma once

// Names fixed by the game, its installation and the player's files, for the launcher and the
// stand-in game alike.

constexpr char kCompanyFolderName[] = "Kerrowind";
constexpr char kRetailFolderName[] = "DRAV";
constexpr char kFreeFolderName[] = "DRAVFree";
constexpr char kRetailExecutableName[] = "DRAV.exe";
constexpr char kFreeExecutableName[] = "DRAVMP.exe";
constexpr wchar_t kFreeExecutableNameW[] = L"DRAVMP.exe";
constexpr char kSettingsFileName[] = "settings.cfg";
constexpr wchar_t kSettingsFileNameW[] = L"settings.cfg";
// Every renderer is listed and stored under this one label.
constexpr wchar_t kRendererLabel[] = L"DX9 Renderer";
constexpr char kStringDatabaseName[] = "Config.Strdb00p";
constexpr wchar_t kStringManagerLibraryName[] = L"LexoraRuntime.dll";
