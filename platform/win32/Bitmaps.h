// The program's pictures: PNG data built into the program, decoded once with GDI+ and drawn
// with their transparency.
#pragma once

#include <windows.h>

namespace tabbern::win32 {

// Starts and ends GDI+ for the run.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR token_ = 0;
};

// The size of bitmap `number` in pixels, or {0, 0} for none.
SIZE BitmapSize(int number);
// Draws bitmap `number` at its own size with its top left corner at (x, y); greyed when
// `disabled`. Nothing for a number without a picture.
void DrawBitmap(HDC dc, int number, int x, int y, bool disabled = false);

// The program's icon at the size asked for (shared; never destroyed).
HICON ProgramIcon(int size);

} // namespace tabbern::win32
