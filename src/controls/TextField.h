#pragma once

#include <QLineEdit>

class QComboBox;

// A one-line field for a text the program stores: a title, a category name. It
// holds a text of any length, as an import or a paste brings it; QLineEdit's own
// limit of 32,767 characters would cut such a text on Done without a word.
class TextField : public QLineEdit {
    Q_OBJECT

public:
    explicit TextField(QWidget* parent = nullptr);

    // Makes Box editable through a TextField.
    static void editIn(QComboBox* Box);
};
