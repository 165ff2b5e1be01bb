// The yardstick of bench_startup: a bare Qt main window with a menu bar and a
// table view, started and painted as Quillet is. It writes "painted" to its
// standard output at its first paint and ends.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStandardItemModel>
#include <QTableView>

#include "FirstPaint.h"

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
    bench_support::showUntilFirstPaint(window);
}
