#pragma once

// Qt's own texts (file dialogs, standard buttons, context menus) in Chinese.

// Loads Qt's Chinese translation into the application and makes every dialog
// a Qt widget dialog, which the translation reaches on any desktop. Call once
// the application object exists and before any window is created. Returns
// false when the translation files are missing; the texts then stay English.
bool LoadQtTranslations();
