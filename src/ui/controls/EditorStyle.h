#pragma once

namespace mdb {

// The application's style: the platform's own, with two changes the editor needs.
// - The menu the keyboard is on is highlighted. After Alt the menu bar holds the focus and a
//   menu is chosen, but the Fusion style highlights a menu-bar entry only while its menu is
//   open, so the user could not see where the arrows and Return would go.
// - Controls take the height their text needs, not the font's whole line. A font drawn for
//   many scripts (Noto Sans CJK, Debian's usual Japanese font) reserves a line of about 1.45
//   of its size for accents it never shows here; every box, drop-down and button grew by it,
//   and the full view no longer fitted a 1280x800 screen. A line of 1.15 of the size still
//   holds the Japanese glyphs whole (a Latin descender may lose a fraction of a pixel of its
//   tail); fonts with a shorter line, such
//   as the IPA fonts, are left as they are. A button at the menu bar's end (advanced mode's
//   unlock button) is as tall as the menus' captions, so that showing it moves nothing.
class EditorStyle {
public:
    // Makes the application's style this one (once; later calls do nothing).
    static void install();
    // How much of a line of `lineHeight` pixels a font of `pixelSize` does not need.
    static int spareLine(int lineHeight, int pixelSize);
};

}  // namespace mdb
