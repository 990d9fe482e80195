#pragma once

class QWidget;

namespace platform {

// Disables a window for work that must not take clicks or keys, and enables it
// again. Qt drops the keyboard focus of a window that is disabled; enabling it
// here gives the focus back to the control that had it, so the keys of a list
// work on after a command that ran under the disabled window. Nested pairs keep
// the control of the outermost one.
void disableWindow(QWidget* window);
void enableWindow(QWidget* window);

} // namespace platform
