#pragma once
// Where there is no file system (the browser), the game's files are held in memory: the page
// puts in the language files it fetched and the settings.ini it restored from the site's
// storage, and readFile and updateFile (settings/SafeFileMemory.cpp) work on these.
//
// A save changes the file in memory at once and keeps its change in a queue, so that the
// page can apply the same change to the stored bytes later, under a lock shared with the
// game's other tabs: each tab then keeps the keys the other one wrote, as two games in one
// folder do.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "settings/SafeFile.h"

namespace quintaro {

// Puts a file in memory (or replaces it), as a file with these bytes.
void putMemoryFile(const std::string& fileName, std::string_view bytes);
// Takes it away again: the file is then missing.
void removeMemoryFile(const std::string& fileName);

// Told after a save has changed a file, with the file's name and how many changes are queued.
using SaveListener = std::function<void(const std::string& fileName, std::size_t queued)>;
void setSaveListener(SaveListener listener);

// Applies every queued change of the file, in order, to stored content (how it was read, and
// its bytes); true with the result in merged, false when nothing would be written (nothing
// queued, or the stored content is not one to replace).
bool mergeQueuedChanges(const std::string& fileName, ReadResult stored, std::string_view bytes,
                        std::string& merged);
// The first count queued changes are stored for good: they leave the queue, and the file in
// memory becomes what was stored.
void dropQueuedChanges(const std::string& fileName, std::size_t count, std::string_view stored);
std::size_t queuedChanges(const std::string& fileName);

}  // namespace quintaro
