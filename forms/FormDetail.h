// What the form toolkit's own files share: the dialog font and icons, and the
// ids its window subclasses are set and removed with.
#pragma once

#include <windows.h>

#include "Handles.h"

namespace forms::detail {

// The classic dialog face: its metrics are the ones the layouts were drawn for.
inline constexpr double kDialogPoints = 8.25;

// The classic dialog face, or where it is missing the nearest one in width.
const wchar_t* DialogFace();
FontHandle MakeFont(const wchar_t* face, double points, bool bold, bool italic, UINT dpi);
// An icon resource of the program at a size in pixels; empty for id 0.
IconHandle LoadIconAt(int id, int size);

// One id per subclass procedure of Form, so that each removes only its own.
enum SubclassId : UINT_PTR { kEditSubclass = 1, kFrameSubclass, kPictureSubclass, kNamedSubclass };

}  // namespace forms::detail
