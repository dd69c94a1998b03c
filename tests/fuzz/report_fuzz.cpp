// The report text for any field values, finite or not: always the same lines as the start-up
// report with only the numbers changed, each number well formed.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/column_calculator.h"
#include "report/report_text.h"
#include "tests/fuzz/fuzz_input.h"

using namespace tessarin;

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A "%f" number at position i: [-] (digits "." six digits | inf | nan); its length, or 0.
std::size_t numberAt(const std::string& t, std::size_t i) {
    std::size_t j = i;
    if (j < t.size() && t[j] == '-') ++j;
    if (t.compare(j, 3, "inf") == 0 || t.compare(j, 3, "nan") == 0) return j + 3 - i;
    const std::size_t digitsStart = j;
    while (j < t.size() && isDigit(t[j])) ++j;
    if (j == digitsStart || j >= t.size() || t[j] != '.') return 0;
    ++j;
    for (int k = 0; k < 6; ++k, ++j) {
        if (j >= t.size() || !isDigit(t[j])) return 0;
    }
    return j - i;
}

// Each value stands at the end of a line or before a TAB, right after its label. The shape is
// the text with the value at the end of every TAB-separated piece replaced by '#'; a value that
// is not well formed is not replaced, and the shapes then differ.
std::string shape(const std::string& text) {
    std::string result;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\t\r", start);
        if (end == std::string::npos) end = text.size();
        const std::string piece = text.substr(start, end - start);
        std::size_t cut = piece.size();
        for (std::size_t p = 0; p < piece.size(); ++p) {
            if (numberAt(piece, p) == piece.size() - p) {
                cut = p;
                break;
            }
        }
        result += piece.substr(0, cut);
        if (cut < piece.size()) result += '#';
        if (end < text.size()) result += text[end];
        start = end + 1;
    }
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    ColumnCalculator c;
    double ColumnCalculator::*const printed[] = {
        &ColumnCalculator::l0,     &ColumnCalculator::b,    &ColumnCalculator::h,
        &ColumnCalculator::M0x,    &ColumnCalculator::M0y,  &ColumnCalculator::N,
        &ColumnCalculator::ax,     &ColumnCalculator::ay,   &ColumnCalculator::concreteGrade,
        &ColumnCalculator::fc,     &ColumnCalculator::fy,   &ColumnCalculator::e0x,
        &ColumnCalculator::eax,    &ColumnCalculator::eix,  &ColumnCalculator::zetaX1,
        &ColumnCalculator::zetaX2, &ColumnCalculator::etaX, &ColumnCalculator::e0y,
        &ColumnCalculator::eay,    &ColumnCalculator::eiy,  &ColumnCalculator::zetaY1,
        &ColumnCalculator::zetaY2, &ColumnCalculator::etaY, &ColumnCalculator::Nux,
        &ColumnCalculator::Nuy,    &ColumnCalculator::Asex, &ColumnCalculator::Asey,
        &ColumnCalculator::Asc,    &ColumnCalculator::Aswx, &ColumnCalculator::Aswy,
        &ColumnCalculator::Asx,    &ColumnCalculator::Asy};
    for (auto field : printed) c.*field = in.take<double>();
    c.steelGrade = 1 + in.take<std::uint8_t>() % 3;
    c.scheme = in.take<std::int32_t>();

    // The same record with plain values gives the reference shape of the lines.
    ColumnCalculator reference;
    for (auto field : printed) reference.*field = 1.0;
    reference.steelGrade = c.steelGrade;
    reference.scheme = c.scheme;

    const std::string text = step1ReportText(c.step1Design()) + step2ReportText(c.design().step2);
    if (text.find('\0') != std::string::npos) std::abort();
    const std::string expected =
        step1ReportText(reference.step1Design()) + step2ReportText(reference.design().step2);
    if (shape(text) != shape(expected)) std::abort();
    return 0;
}
