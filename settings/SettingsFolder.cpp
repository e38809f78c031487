#include "settings/SettingsFolder.h"

#include "settings/BoundedString.h"
#include "settings/FixedNames.h"
#include "settings/ProductMode.h"
#include "settings/save/HeldSettingsFolder.h"

#include <shlobj.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

namespace
{
// The position after the component that starts at `position` and its backslashes.
char* SkipComponent(char* position)
{
    while (*position != '\0' && *position != '\\')
        ++position;
    while (*position == '\\')
        ++position;
    return position;
}

HRESULT QueryShellSharedDocuments(char* path)
{
    return SHGetFolderPathA(nullptr, CSIDL_COMMON_DOCUMENTS | CSIDL_FLAG_CREATE, nullptr,
                            SHGFP_TYPE_CURRENT, path);
}
} // namespace

void GetSettingsFolder(const char* productName, char* buffer, size_t size)
{
    GetSettingsFolder(productName, buffer, size, QueryShellSharedDocuments);
}

void GetSettingsFolder(const char* productName, char* buffer, size_t size,
                       SharedDocumentsQuery query)
{
    char documents[MAX_PATH] = {};
    if (FAILED(query(documents)))
        return;
    documents[MAX_PATH - 1] = '\0';

    const size_t nameLength = productName ? strlen(productName) : 0;
    // The 3 are the backslashes around the company folder and after the product name;
    // keeping the sum below the size leaves room for the terminating NUL.
    if (strlen(documents) + strlen(kCompanyFolderName) + nameLength + 3 >= size)
        return;

    BoundedCopy(buffer, documents, size);
    BoundedAppend(buffer, "\\", size);
    BoundedAppend(buffer, kCompanyFolderName, size);
    BoundedAppend(buffer, "\\", size);
    CreatePath(buffer);
    if (nameLength == 0)
        return;
    BoundedAppend(buffer, productName, size);
    BoundedAppend(buffer, "\\", size);
    // The product folder is made inside the company folder's checked handle, so that a link
    // planted as the company folder makes nothing wherever it points.
    CHeldSettingsFolder folder;
    folder.Open(std::string(buffer) + kSettingsFileName, true);
}

void GetProductSettingsFolder(char* buffer, size_t size)
{
    char productName[MAX_PATH] = {};
    BoundedCopy(productName, GetProductFolderName(), sizeof productName);
    GetSettingsFolder(productName, buffer, size);
}

bool PathExists(const char* path)
{
    if (path == nullptr || path[0] == '\0')
        return false;

    char copy[MAX_PATH + 1];
    BoundedCopy(copy, path, sizeof copy);
    const size_t length = strlen(copy);
    if (copy[length - 1] == '\\')
        copy[length - 1] = '\0';

    // A drive without a medium must give a plain failure, not a system dialog.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    struct _stat status;
    const bool found = _stat(copy, &status) == 0;
    SetErrorMode(previousMode);
    return found;
}

bool CreatePath(const char* path)
{
    if (PathExists(path))
        return true;
    const size_t length = path ? strlen(path) : 0;
    if (length > 0 && path[length - 1] == ':')
        return false;

    char copy[MAX_PATH + 1];
    BoundedCopy(copy, path, sizeof copy);
    char* cursor = copy;

    char prefix[MAX_PATH + 1] = {};
    if (strncmp(copy, "\\\\", 2) == 0)
    {
        // A network path names its server and share, which cannot be made as directories
        // (and must not be made below the current drive's root): the walk starts below them.
        // A share that does not exist (checked above) cannot be made either.
        cursor = SkipComponent(SkipComponent(copy + 2));
        if (*cursor == '\0')
            return false;
        BoundedCopy(prefix, copy, static_cast<size_t>(cursor - copy) + 1);
    }
    else if (copy[0] == '\\')
        BoundedCopy(prefix, "\\", sizeof prefix);

    // Split at backslashes; runs of them separate like one and produce no empty component.
    while (*cursor != '\0')
    {
        while (*cursor == '\\')
            ++cursor;
        if (*cursor == '\0')
            break;
        char* component = cursor;
        while (*cursor != '\0' && *cursor != '\\')
            ++cursor;
        if (*cursor == '\\')
            *cursor++ = '\0';

        BoundedAppend(prefix, component, sizeof prefix);
        const size_t prefixLength = strlen(prefix);
        const bool isDrive = prefixLength > 0 && prefix[prefixLength - 1] == ':';
        if (!isDrive && !PathExists(prefix) && !CreateDirectoryA(prefix, nullptr))
            return false;
        BoundedAppend(prefix, "\\", sizeof prefix);
    }
    return true;
}
