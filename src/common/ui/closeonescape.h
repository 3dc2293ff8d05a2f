#pragma once

class QWidget;

// Escape closes window, wherever the focus is inside it, as it closes a dialog.
void CloseOnEscape(QWidget* window);
