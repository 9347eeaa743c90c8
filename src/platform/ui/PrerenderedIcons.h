#pragma once
// Icons rendered from their SVG files at build time (orvex_render_icons), in the sizes the windows
// show them: a start draws them without parsing an SVG. Each table the tool writes ends with an
// entry whose name is null.
struct SPrerenderedIcon
{
    const char* name;            // the SVG file's name without ".svg"
    int size;                    // width and height in pixels
    const unsigned char* pixels; // size * size premultiplied ARGB32 pixels, 4-byte aligned
};
