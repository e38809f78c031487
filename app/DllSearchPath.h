#pragma once

// Takes the current directory out of the folders that DLLs are looked for in. The launcher is
// started from the game's folder as the player's shortcut sets it, or from wherever a program
// starting it happens to stand; a DLL that the system loads on demand must not come from there.
// DLLs the launcher imports itself (the game folder's own d3d9.dll wrapper among them) still
// load from its own folder as before. Windows XP before Service Pack 1 has no way to do this
// and keeps its search order.
void RemoveCurrentDirectoryFromDllSearch();
