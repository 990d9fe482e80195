#pragma once

class QWidget;

namespace platform {

// Widens each label and button placed directly on `parent` (not by a layout)
// whose caption needs more room than its place gives: up to the next control
// to its right or the parent's edge, never over another control. The design's
// places fit the font through the twips scale; this catches what the scale
// cannot know, such as a narrow glyph set or a long caption.
void widenCaptions(QWidget* parent);

} // namespace platform
