#pragma once
// "Настройки программы": the options of the section Program, loaded at every
// showing (BuildSettings) and written by OK; the font, background, undo
// depth, recent list, browser chooser, word wrap and shell switch act at
// once. The main window answers what belongs to it through the hooks.
#include "store/ColourNotation.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QFontComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TKRichEdit;

namespace Ui {
class TSETTINGS;
}

class TSETTINGS : public QDialog {
    Q_OBJECT

public:
    explicit TSETTINGS(TKRichEdit* editor, QWidget* parent = nullptr);
    ~TSETTINGS() override;

    QLabel* ICN = nullptr;
    QPushButton* Button1 = nullptr; // "OK"
    QTabWidget* PageControl1 = nullptr;
    // "Общие"
    QCheckBox* SCROLL_ONLYVERTICAL = nullptr;
    QCheckBox* DISABLEUNDO = nullptr;
    QCheckBox* DOUBLEQUOTES = nullptr;
    QCheckBox* CL3TO6 = nullptr;
    QSpinBox* UNDOCOUNT = nullptr;
    QCheckBox* MESLIST = nullptr;
    // "Интерфейс"
    QFontComboBox* FONTLIST = nullptr;
    QPushButton* Button3 = nullptr; // font reset
    QSpinBox* FONTSIZE = nullptr;
    QFrame* BCCOL = nullptr;
    QPushButton* BCPICK = nullptr;
    QPushButton* Button4 = nullptr; // background reset
    QLabel* MEMFONT = nullptr;      // measures the editor's line height
    // "Файл"
    QCheckBox* LOADLASTFILE = nullptr;
    QSpinBox* RECENTLEN = nullptr;
    QCheckBox* RESERVE = nullptr;
    QPushButton* Button6 = nullptr; // empties the recent documents
    // "Браузер"
    QCheckBox* CHECK_HTML = nullptr;
    QLineEdit* SYSBROWSPATH = nullptr;
    QPushButton* Button5 = nullptr; // the browser chooser
    // "Система"
    QCheckBox* INSERTTOSYSMENU = nullptr;
    // "Правка"
    QCheckBox* EDIT_CLOSETAGS = nullptr;
    QCheckBox* EDIT_COMPLETION = nullptr;
    QCheckBox* EDIT_ABBREVIATIONS = nullptr;

    // The main window's side.
    std::function<bool(TColor start, TColor* picked)> pickColour;
    // After the editor's line height changed: the marker bar follows.
    std::function<void()> lineHeightChanged;
    // The word-wrap box was clicked: the markers are cleared.
    std::function<void()> clearMarkers;
    std::function<void(const QString& message, bool isError)> logWrite;
    std::function<bool()> logVisible;
    // Shows or hides the message log with the editor and marker bar resized
    // and the markers rebuilt.
    std::function<void(bool show)> showLog;
    // The check box's state changed (the pop-up's "Проверять исходник" follows).
    std::function<void(bool checked)> checkHtmlChanged;

    // Every control from the section Program and the registry.
    void BuildSettings();
    // Loads and shows the dialog modally over its parent, without a loop of
    // its own.
    void showSettings();
    // OK: the options written in their order, their effects applied, closed.
    void Button1Click();

    void FONTLISTChange();
    void FONTSIZEChange();
    void Button3Click();
    void BCPICKClick();
    void Button4Click();
    void UNDOCOUNTChange();
    void Button6Click();
    void Button5Click();
    void SCROLL_ONLYVERTICALClick();
    void INSERTTOSYSMENUClick();
    // The editor's font into MEMFONT, its line height measured, the editor
    // repainted and the marker bar brought up to date.
    void GetFontHeight();

private:
    void setSwatch(TColor colour);
    void setEditorFont(const QString& family, int size);
    void applyBackground(TColor colour);

    Ui::TSETTINGS* ui;
    TKRichEdit* editor_;
    bool loading_ = false;
};
