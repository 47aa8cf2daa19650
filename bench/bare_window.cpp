// The peer of the start benchmark: a Qt Widgets window of the installer's
// size with nothing in it, on the same Qt.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(640, 480);
    window.show();
    return application.exec();
}
