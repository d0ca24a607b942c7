// How every Tavrix process on Qt looks and speaks: the program itself, its start-up probe
// and its GUI tests share this, so that what is tested and measured is what people see.
#pragma once

#include <thread>

class QApplication;
class QCoreApplication;

namespace tavrix::qt {

void prepare_application(QApplication& app);

// Reads the system's font configuration on another core while the window system starts:
// the first text a window lays out would otherwise wait for it. Start it before the
// QApplication and call wait() before the first widget; what Qt finds is unchanged.
class FontConfigurationLoad {
  public:
    FontConfigurationLoad();
    void wait();

  private:
    std::jthread thread_;
};

// The parts of it that the command line needs before the window system is reached.
void name_application();
void speak_spanish(QCoreApplication& app);

}  // namespace tavrix::qt
