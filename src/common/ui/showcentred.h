#pragma once

class QWidget;

// Shows window centred on owner (or on its screen without one) and raises it.
void ShowCentred(QWidget* window, QWidget* owner);
