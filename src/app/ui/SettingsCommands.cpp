// "Настройки": the settings dialog over the editor, and the program's own
// picture as the window icon.
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/KRichEdit.h"
#include "editor/ui/MarkerBar.h"
#include "platform/ui/ProgramIcon.h"
#include "settings/ui/SettingsDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTextEdit>

void TForm1::buildSettings()
{
    setWindowIcon(platform::ProgramIcon());

    SETTINGS = new TSETTINGS(Memo1, this);
    SETTINGS->pickColour = [this](TColor start, TColor* picked) { return pickColour && pickColour(start, picked); };
    SETTINGS->lineHeightChanged = [this] { Memo1Scroll(); };
    SETTINGS->clearMarkers = [this] { static_cast<TMarkerBar*>(VERTBAR)->MARKERS_CLEARClick(); };
    SETTINGS->logWrite = [this](const QString& message, bool isError) { HELPLOG_Write(message, isError); };
    SETTINGS->logVisible = [this] { return !HELPLOG->isHidden(); };
    SETTINGS->showLog = [this](bool show) {
        if (show) {
            HELPLOG->show();
            CLOSELOG->show();
        } else {
            hideLog();
        }
        static_cast<TMarkerBar*>(VERTBAR)->MarkersRemake(true);
    };
    SETTINGS->checkHtmlChanged = [this](bool on) { MENU_CHECKCODE->setChecked(on); };
    // The pop-up's "Проверять исходник" and the dialog's box are one state.
    connect(MENU_CHECKCODE, &QAction::triggered, this, [this] { SETTINGS->CHECK_HTML->setChecked(CHECK_HTML); });

    N32 = new QAction(QStringLiteral("Настройки"), this);
    N32->setObjectName(QStringLiteral("N32"));
    menuBar()->insertAction(HELPMENU ? HELPMENU->menuAction() : nullptr, N32);
    connect(N32, &QAction::triggered, this, &TForm1::N32Click);
}

void TForm1::N32Click() { SETTINGS->showSettings(); }
