#include "script/dump.h"

namespace tavrix::script {

std::string dump_json(const Form1& form) {
    std::string out = "{";
    append_session_members(form.snapshot(), out);
    out.push_back('}');
    return out;
}

}  // namespace tavrix::script
