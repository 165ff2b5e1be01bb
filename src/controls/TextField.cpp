#include "TextField.h"

#include <QComboBox>

#include <climits>

TextField::TextField(QWidget* parent) : QLineEdit(parent)
{
    setMaxLength(INT_MAX);
}

void TextField::editIn(QComboBox* Box)
{
    Box->setLineEdit(new TextField(Box));
}
