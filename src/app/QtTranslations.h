#pragma once
// Qt's own texts (file dialogs, their questions, standard buttons) in the program's language:
// the toolkit's Chinese translation is installed while the program speaks Chinese and taken
// away again for English.

// Installs or removes the translation for language 0 (Chinese) or 1 (English). True when the
// toolkit speaks that language afterwards (false when its Chinese translation is missing).
bool ApplyQtTranslations(int language);
// Whether the toolkit's Chinese translation is installed now.
bool QtTranslationsInstalled();
