#pragma once

#include <string>

#include "platform/Picture.h"
#include "platform/Result.h"

namespace tess {

// The one level of undo: "~tesundo.dat" in the scratch folder holds the picture that undo brings
// back, "~tesundo2.dat" exists only while a swap is under way. Both are bitmap files. Without a
// folder (none could be made) nothing is saved and there is never anything to undo.
class UndoStore {
  public:
    static constexpr const char* kUndoFileName = "~tesundo.dat";
    static constexpr const char* kSwapFileName = "~tesundo2.dat";

    explicit UndoStore(std::string folder);

    std::string undoPath() const;
    std::string swapPath() const;

    // SaveUndoData: replaces the undo file by `picture` (the working picture's assigned picture).
    // Callers pass the result over. The old copy is removed first, so a failed save leaves
    // nothing to undo rather than an older picture (unless the old copy cannot be removed either).
    Status save(const Picture& picture);

    // Whether there is something to undo (the Edit menu's test).
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
};

}  // namespace tess
