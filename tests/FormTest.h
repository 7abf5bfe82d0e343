#pragma once
// The main window under test: an isolated program folder and a TForm1
// started with the given command line, gone before the folder is.
#include "TestSupport.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/KRichEdit.h"

#include <QApplication>
#include <memory>

namespace testing_support {

class FormTest : public IsolatedTest {
protected:
    void TearDown() override
    {
        form_.reset();
        IsolatedTest::TearDown();
    }
    // Shows a new main window with the editor focused.
    TForm1& start(const QStringList& args = {})
    {
        form_ = std::make_unique<TForm1>(args);
        form_->show();
        QApplication::setActiveWindow(form_.get());
        form_->Memo1->setFocus();
        return *form_;
    }

    std::unique_ptr<TForm1> form_;
};

} // namespace testing_support
