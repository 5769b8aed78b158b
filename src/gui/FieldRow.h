#pragma once

// A field with the buttons or small widgets beside it, on one line: the
// field takes the width, and a label for the row moves the focus to it.

#include <QHBoxLayout>
#include <QWidget>

#include <initializer_list>

namespace tessaly {

inline QWidget* FieldRow(QWidget* field, std::initializer_list<QWidget*> beside)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field, 1);
    for (QWidget* widget : beside) {
        layout->addWidget(widget);
    }
    row->setFocusProxy(field);
    return row;
}

} // namespace tessaly
