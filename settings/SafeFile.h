#pragma once
// The file system under the key=value component: reading a small file whole, and replacing
// it so that a crash at any moment leaves either the old or the new content. Each platform
// has its own implementation (SafeFile.cpp for POSIX systems, SafeFileWin32.cpp for Windows).

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quintaro {

enum class ReadResult { Read, Missing, Unusable };

// Reads the whole file into bytes. Missing: there is no such file (a later save may create
// it). Unusable: it exists but can't be read, is no regular file, or is too large; such a
// file is also never written. writable tells whether a later save may replace the file.
ReadResult readFile(const std::string& fileName, std::string& bytes, bool& writable);

// What a save makes of the file as it is at that moment: given how reading it went and its
// bytes, the new content, or nothing to leave the file as it is.
using FileChange = std::function<std::optional<std::string>(ReadResult, std::string_view)>;

// Replaces the file crash-safe with what change makes of its current content. Every save of
// the file takes the same lock first, so two games saving at once go one after the other and
// each sees what the other wrote. The lock is the save's temporary file beside the file: it
// exists only while a save runs, and a folder that takes no new files takes no saves either.
// Another save's temporary file is never removed, and only this save's own, whole, is ever
// renamed into place. Gives up, leaving the old file as it was, when the lock can't be had
// within a second, when the file is not one to replace, when change returns nothing, or when
// the folder refuses the rename (another user's file in a folder where only owners may
// replace files). Returns whether it wrote.
bool updateFile(const std::string& fileName, const FileChange& change);

// Replaces the file's content with bytes, whatever it holds now.
bool saveFile(const std::string& fileName, std::string_view bytes);

// For tests that stop saves at chosen moments to replay them in a chosen order: a save
// reports when it first finds another save holding the lock, when its temporary file is
// taken, and when the new content is written and flushed. Nothing is called unless set.
enum class SaveStep { MetOtherSave, TemporaryTaken, Written };
using SaveStepHook = void (*)(SaveStep);
void setSaveStepHook(SaveStepHook hook);

}  // namespace quintaro
