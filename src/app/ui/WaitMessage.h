#pragma once
// The borderless "Подождите..." window shown over the main window while a
// long step runs; it closes when the object goes.
#include <memory>

class QWidget;
class QLabel;

class TWAITMESSAGE {
public:
    explicit TWAITMESSAGE(QWidget* over);
    ~TWAITMESSAGE();
    TWAITMESSAGE(const TWAITMESSAGE&) = delete;
    TWAITMESSAGE& operator=(const TWAITMESSAGE&) = delete;

private:
    std::unique_ptr<QLabel> window_;
};
