// The yardstick of the start-up benchmark: the least a Qt Widgets program does to show a sorted list
// of 200 items, in a main window of Portolan's design size.
#include <QApplication>
#include <QListWidget>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    auto* list = new QListWidget(&window);
    list->setSortingEnabled(true);
    // Added in reverse order, so the sorting has work to do.
    for (int item = 200; item >= 1; --item)
        list->addItem(QStringLiteral("Site %1").arg(item));
    window.setCentralWidget(list);
    window.resize(270, 217);
    window.show();
    return QApplication::exec();
}
