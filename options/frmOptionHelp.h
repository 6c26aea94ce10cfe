#pragma once

// The options help window: instructions for the options window, read-only.

#include <QWidget>

namespace vasora::options {

class frmOptionHelp final : public QWidget {
    Q_OBJECT
public:
    explicit frmOptionHelp(QWidget* parent = nullptr);
};

}  // namespace vasora::options
