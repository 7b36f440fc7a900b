#pragma once

#include "app/platform/KTMenuItem.h"

class QAction;

// A menu command; its tag is the action's "tag" property, 0 when it has none.
class KTQtMenuItem final : public KTMenuItem {
public:
    explicit KTQtMenuItem(QAction* action) : mAction(action) {}
    int tag() const override;
    void setToolTip(const std::string& text) override;

private:
    QAction* mAction;
};
