// The yardstick of bench_startup: a bare Qt main window with a menu bar and a
// table view, started and painted as Quillet is. It writes "painted" to its
// standard output at its first paint and ends.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStandardItemModel>
#include <QTableView>

#include <unistd.h>

#include <cstdio>

namespace {

class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QWidget* Window) : FWindow(Window) {}
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == FWindow)
            painted = true;
        return false;
    }

private:
    const QWidget* FWindow;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char* title : {"&File", "&Edit", "&View", "&Help"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Item"));
    QStandardItemModel model(0, 4);
    auto* table = new QTableView;
    table->setModel(&model);
    window.setCentralWidget(table);
    window.resize(822, 640);

    FirstPaint watcher(&window);
    app.installEventFilter(&watcher);
    window.show();
    while (!watcher.painted)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    std::fputs("painted\n", stdout);
    std::fflush(stdout);
    _exit(0);
}
