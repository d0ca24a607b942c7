// How every Tavrix process on Qt looks and speaks: the program itself, its start-up probe
// and its GUI tests share this, so that what is tested and measured is what people see.
#pragma once

class QApplication;
class QCoreApplication;

namespace tavrix::qt {

void prepare_application(QApplication& app);

// The parts of it that the command line needs before the window system is reached.
void name_application();
void speak_spanish(QCoreApplication& app);

}  // namespace tavrix::qt
