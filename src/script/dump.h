// The whole state of the window as one line of JSON: every control with the members of its
// kind, every table of the scene store, the session options and the tick total.
#pragma once

#include <string>

#include "app/form1.h"

namespace tavrix::script {

std::string dump_json(const Form1& form);

}  // namespace tavrix::script
