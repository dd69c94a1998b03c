#pragma once

#include <string_view>

namespace tessarin {

// The pictures the dialogs show, by name. The Qt program draws them from ui/images/NAME.svg;
// the Windows program has them as bitmap resources of the given number, rendered from the same
// SVG files at build time.
struct PictureResource {
    const char* name;
    int number;  // resource number
    int width;   // pixels, as drawn
    int height;
};

inline constexpr PictureResource kPrincipleDiagramPicture{"principle_diagram_129", 129, 659, 381};
inline constexpr PictureResource kSchemeSketchPicture{"scheme_sketch_133", 133, 248, 376};
// Icon 128: the column section, 32 x 32 (and 16 x 16).
inline constexpr int kIconResource = 128;
// String 101: the About entry of the main dialog's system menu.
inline constexpr int kAboutEntryString = 101;
inline constexpr const char* kAboutEntryText = "关于 Tessarin(&A)...";
// The About entry's command in the system menu.
inline constexpr int kAboutCommand = 16;

// The picture of the given name; nullptr for a name no picture has.
inline const PictureResource* findPicture(std::string_view name) {
    for (const PictureResource* picture : {&kPrincipleDiagramPicture, &kSchemeSketchPicture}) {
        if (name == picture->name) return picture;
    }
    return nullptr;
}

}  // namespace tessarin
