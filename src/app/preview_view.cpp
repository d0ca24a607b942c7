#include "app/preview_view.h"

#include <cmath>

namespace tavrix {
namespace {

// Two decimals after a comma, as Spanish writes them, whatever the C locale says.
std::string spanish_seconds(double seconds) {
    const long long hundredths = std::llround(seconds * 100);
    const long long fraction = hundredths % 100;
    return std::to_string(hundredths / 100) + (fraction < 10 ? ",0" : ",") +
           std::to_string(fraction);
}

}  // namespace

std::string_view play_caption(bool playing) {
    return playing ? "Pausa" : "Reproducir";
}

std::string scale_caption(int factor) {
    return std::to_string(factor) + "×";
}

std::string status_line(const PreviewStatus& status) {
    std::string line = "Tic " + std::to_string(status.tick) + " de " +
                       std::to_string(status.end_time) + " · " + spanish_seconds(status.seconds) +
                       " s · ";
    if (!status.frame)
        return line + "sin marco";
    line += "marco " + std::to_string(*status.frame);
    if (status.sprite)
        line += " · sprite " + std::to_string(status.sprite->group) + "," +
                std::to_string(status.sprite->number);
    return line;
}

}  // namespace tavrix
