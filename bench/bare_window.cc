// The reference of the start-up figure: the barest Qt 6 window of
// Tabulon's size, shown and left running.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.resize(1010, 734);
  window.show();
  return QApplication::exec();
}
