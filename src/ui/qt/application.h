// How every Tavrix process on Qt looks and speaks: the program itself, its start-up probe
// and its GUI tests share this, so that what is tested and measured is what people see.
#pragma once

class QApplication;

namespace tavrix::qt {

void prepare_application(QApplication& app);

}  // namespace tavrix::qt
