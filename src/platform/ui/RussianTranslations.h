#pragma once
// Russian texts for Qt's own dialogs: Qt's translations where the system
// has them, and the program's own answers for the texts they lack.
class QCoreApplication;
class QFileDialog;

namespace platform {

// Installs Qt's Russian translations and, after them, the program's own
// translator for what they leave in English.
void InstallRussianTranslations(QCoreApplication& app);

// Shows sizes and dates in the dialog's file list the Russian way ("12 байт",
// "1,5 КБ"), whatever the system's language.
void UseRussianFileList(QFileDialog* dialog);

} // namespace platform
