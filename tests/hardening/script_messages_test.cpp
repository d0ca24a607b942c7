// Every tavrix-script message stays on the one line that names the script and its line,
// even when it quotes a field or a reason that holds line breaks.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "common/encoding.h"
#include "script/runner.h"
#include "support/memory_output.h"

namespace tavrix {
namespace {

TEST(ScriptMessages, StayOnTheirOneLine) {
    const struct {
        const char* script;
        const char* open_failure;  // the reason the output gives when opened, if any
        const char* starts;
        const char* holds;
    } cases[] = {
        {"set Text8 \"1\\n\"\nclick Command1\n", "", "guion.tvs:2: ", "\"1\\n\""},
        {"set Text11 \"a\\r\\nb\"\nclick Command1\n", "la carpeta no existe",
         "guion.tvs:2: ", "\"a\\r\\nb\""},
        {"\nclick Command1\n", "motivo\nen dos líneas", "guion.tvs:2: ", "motivo\\nen dos"},
        {"set cantA \"x\\ny\"\nexpect cantA text z\n", "", "guion.tvs:2: ", "x\\ny"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        auto file = std::make_shared<testing::MemoryFile>();
        file->fail_open = c.open_failure;
        std::istringstream in(c.script);
        std::ostringstream out;
        std::ostringstream err;
        script::run_script(
            in, "guion.tvs", out, err,
            Platform{[file] { return std::make_unique<testing::MemoryOutput>(file); },
                     append_windows_1252});
        const std::string message = err.str();
        ASSERT_FALSE(message.empty());
        EXPECT_EQ(message.find('\n'), message.size() - 1) << message;
        EXPECT_EQ(message.find('\r'), std::string::npos) << message;
        EXPECT_EQ(message.rfind(c.starts, 0), 0u) << message;
        EXPECT_NE(message.find(c.holds), std::string::npos) << message;
    }
}

}  // namespace
}  // namespace tavrix
