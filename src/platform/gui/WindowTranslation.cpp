#include "WindowTranslation.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMetaClassInfo>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <QWidget>

#include "platform/GetText.h"

namespace {

const char* const SourcePrefix = "quillet_source_";
const char* const ShownPrefix = "quillet_shown_";

// The English source of a text now shown as Current: the one remembered, unless
// the code has set another text since it was last translated.
QString sourceOf(const QVariant& Source, const QVariant& Shown, const QString& Current)
{
    if (Source.isValid() && Shown.toString() == Current)
        return Source.toString();
    return translation::englishSource(Current);
}

// Translates one text of Holder; Key names it among the holder's texts.
template <typename Get, typename Set> void translateText(QObject* Holder, const QByteArray& Key, Get&& get, Set&& set)
{
    const QString current = get();
    if (current.isEmpty())
        return;
    const QByteArray sourceKey = SourcePrefix + Key;
    const QByteArray shownKey = ShownPrefix + Key;
    const QString source = sourceOf(Holder->property(sourceKey), Holder->property(shownKey), current);
    const QString translated = _(source);
    if (translated != current)
        set(translated);
    Holder->setProperty(sourceKey, source);
    Holder->setProperty(shownKey, translated);
}

void translateProperty(QObject* Object, const char* Name)
{
    translateText(
        Object, Name, [&] { return Object->property(Name).toString(); },
        [&](const QString& text) { Object->setProperty(Name, text); });
}

// An action's text as its tool tip shows it when none was set: without "..." and
// the mnemonic marks (as Qt strips it).
QString plainText(QString Text)
{
    Text.remove(QStringLiteral("..."));
    for (int i = 0; i < Text.size(); ++i)
        if (Text.at(i) == QLatin1Char('&'))
            Text.remove(i, 1);
    return Text.trimmed();
}

// The properties that hold texts for the user; a text field's "text" is the user's.
QList<QByteArray> translatedProperties(const QObject* Object)
{
    QList<QByteArray> names{"toolTip", "statusTip", "whatsThis"};
    const QMetaObject* meta = Object->metaObject();
    const bool userText = qobject_cast<const QLineEdit*>(Object) || qobject_cast<const QTextEdit*>(Object) ||
                          qobject_cast<const QPlainTextEdit*>(Object) || qobject_cast<const QAbstractSpinBox*>(Object);
    for (const char* name : {"windowTitle", "title", "text", "placeholderText"}) {
        if (userText && qstrcmp(name, "text") == 0)
            continue;
        if (meta->indexOfProperty(name) >= 0)
            names << name;
    }
    for (int i = 0; i < meta->classInfoCount(); ++i) {
        const QMetaClassInfo info = meta->classInfo(i);
        if (qstrcmp(info.name(), "TranslatedProperties") == 0)
            for (const QByteArray& name : QByteArray(info.value()).split(','))
                names << name.trimmed();
    }
    // A window's title only: a child's never shows.
    if (const auto* widget = qobject_cast<const QWidget*>(Object); widget && !widget->isWindow())
        names.removeAll("windowTitle");
    // An action's tool tip that merely repeats its text follows the text by itself.
    if (const auto* action = qobject_cast<const QAction*>(Object);
        action && action->toolTip() == plainText(action->text()))
        names.removeAll("toolTip");
    return names;
}

void translateTabs(QTabWidget* Tabs)
{
    for (int i = 0; i < Tabs->count(); ++i) {
        // Kept on the page, so the source follows a tab that moves.
        QWidget* page = Tabs->widget(i);
        translateText(
            page, "tab", [&] { return Tabs->tabText(i); }, [&](const QString& text) { Tabs->setTabText(i, text); });
        translateText(
            page, "tabToolTip", [&] { return Tabs->tabToolTip(i); },
            [&](const QString& text) { Tabs->setTabToolTip(i, text); });
    }
}

void translateObject(QObject* Object)
{
    // The items of these are the program's or the user's and are refilled by the code.
    if (qobject_cast<QComboBox*>(Object) || qobject_cast<QAbstractItemView*>(Object)) {
        translateProperty(Object, "toolTip");
        return;
    }
    for (const QByteArray& name : translatedProperties(Object))
        translateProperty(Object, name.constData());
    if (auto* tabs = qobject_cast<QTabWidget*>(Object))
        translateTabs(tabs);
    for (QObject* child : Object->children())
        translateObject(child);
}

} // namespace

void TranslateComponent(QObject* Window)
{
    if (Window)
        translateObject(Window);
}
