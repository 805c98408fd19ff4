#pragma once

#include <string>

#include "platform/Picture.h"
#include "platform/Result.h"

namespace tess {

// The one level of undo: "~tesundo.dat" in the scratch folder holds the picture that undo brings
// back, "~tesundo2.dat" exists only while a swap is under way. Both are bitmap files of this user,
// mode 0600, never reached through a link (platform/PrivateFile.h). Without a folder (none could
// be made) nothing is saved and there is never anything to undo.
class UndoStore {
  public:
    static constexpr const char* kUndoFileName = "~tesundo.dat";
    static constexpr const char* kSwapFileName = "~tesundo2.dat";

    explicit UndoStore(std::string folder);

    std::string undoPath() const;
    std::string swapPath() const;

    // SaveUndoData: replaces the undo file by `picture` (the working picture's assigned picture).
    // Callers go on with their change whatever this gives. After a failure there is nothing to
    // undo: the old copy is removed first, and where it (or anything else at the name) cannot be,
    // the store no longer offers it, so no older picture can be undone into.
    Status save(const Picture& picture);

    // Whether there is something to undo (the Edit menu's test): the undo file is there and no
    // save has failed since it was written. A file left by an earlier run counts until then.
    bool hasUndo() const;

    // The swap of undo and redo: gives the saved picture, and the undo file then holds `current`,
    // so the next swap brings `current` back. The saved picture is read whole before any file is
    // touched, and the files change only when `current` has been written in full; on an error
    // nothing changes but a stale swap file being removed, and the caller keeps showing `current`.
    Result<Picture> swap(const Picture& current);

    // Shut-down: removes both files where they exist.
    void deleteFiles();

  private:
    std::string folder_;
    // Set when a save or the shut-down left no undo copy, whatever is still at the name.
    bool withdrawn_ = false;
};

}  // namespace tess
