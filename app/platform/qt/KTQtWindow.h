#pragma once

#include "app/platform/KTWindow.h"

class QWidget;

class KTQtWindow final : public KTWindow {
public:
    explicit KTQtWindow(QWidget* window) : mWindow(window) {}
    void center() override;
    void makeKeyAndOrderFront(void* sender) override;
    void orderOut(void* sender) override;
    bool isVisible() const override;
    void setTitleWithRepresentedFilename(const std::string& filename) override;
    void setDocumentEdited(bool edited) override;

    QWidget* widget() const { return mWindow; }

private:
    QWidget* mWindow;
};
