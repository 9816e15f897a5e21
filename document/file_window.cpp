// file_window.cpp - the clip of a transfer to the file's end.
#include "document/file_window.h"

bool ClipToEnd(int64_t end, uint32_t offset, uint32_t& count)
{
    if (end <= offset)
        return false;
    if (end - offset < count)
        count = static_cast<uint32_t>(end - offset);
    return true;
}
