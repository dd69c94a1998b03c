// Writes a CSV file of design cases for the batch benchmark: a building's columns, four load
// combinations each (or as many as the third argument says), with sections, loads and grades
// varied over the usual range. With "interleaved" as the fourth argument the combinations of a
// column do not stand together: row i belongs to column i mod (ROWS / combinations). With "code"
// instead the file is one for the current-code batch: each column keeps its section, length and
// materials over its combinations, which vary N, the moments and the end-moment ratios.
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: %s ROWS FILE [COMBINATIONS [interleaved|code]]\n", argv[0]);
        return 2;
    }
    const long long rows = std::atoll(argv[1]);
    const long long combinations = argc > 3 ? std::atoll(argv[3]) : 4;
    const bool interleaved = argc > 4 && std::string(argv[4]) == "interleaved";
    const bool gb2010 = argc > 4 && std::string(argv[4]) == "code";
    if (rows < 0 || combinations < 1) {
        std::fprintf(stderr, "%s: ROWS must be 0 or more, COMBINATIONS 1 or more\n", argv[0]);
        return 2;
    }
    const long long columns = (rows + combinations - 1) / combinations;
    std::FILE* file = std::fopen(argv[2], "wb");
    if (file == nullptr) {
        std::perror(argv[2]);
        return 3;
    }
    static const char* const kConcrete[] = {"C25", "C30", "C35", "C40", "C50", "C60"};
    static const char* const kSteel[] = {"HRB335", "HRB400"};
    unsigned state = 12345u;
    const auto next = [&state](unsigned range) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % range;
    };
    if (gb2010) {
        std::fprintf(file, "id,l0,b,h,M0x,M0y,N,concrete,steel,m1m2_x,m1m2_y,seismic,vx,vy,kind\n");
        // The shears and kinds from their own sequence, so that the other figures stay those of
        // the files generated before the stirrups were designed.
        unsigned shearState = 777u;
        const auto shear = [&shearState](unsigned range) {
            shearState = shearState * 1103515245u + 12345u;
            return (shearState >> 8) % range;
        };
        static const char* const kKinds[] = {"", "seismic", "non-seismic", "seismic"};
        static const char* const kSeismic[] = {"", "", "", "2", "3", "4"};
        unsigned columnState = 0u;
        for (long long i = 0; i < rows; ++i) {
            const long long column = i / combinations;
            // The column's own data come from its index, the combination's from the row's.
            columnState = static_cast<unsigned>(column) * 2654435761u + 97u;
            const auto own = [&columnState](unsigned range) {
                columnState = columnState * 1103515245u + 12345u;
                return (columnState >> 8) % range;
            };
            const unsigned b = 400 + 50 * own(6);
            const unsigned h = b + 50 * own(5);
            const unsigned l0 = 3000 + 100 * own(30);
            const char* concrete = kConcrete[1 + own(5)];
            const char* steel = kSteel[own(2)];
            const char* seismic = kSeismic[own(6)];
            const unsigned M0x = 20 + next(300);
            const unsigned M0y = 10 + next(150);
            const unsigned N = 200 + next(2000);
            const double m1m2x = 0.1 * (static_cast<double>(next(21)) - 10.0);
            const double m1m2y = 0.1 * (static_cast<double>(next(21)) - 10.0);
            const unsigned vx = 20 + shear(200);
            const unsigned vy = 10 + shear(120);
            const char* kind = kKinds[shear(4)];
            std::fprintf(file, "C%lld,%u,%u,%u,%u,%u,%u,%s,%s,%.1f,%.1f,%s,%u,%u,%s\n", column, l0,
                         b, h, M0x, M0y, N, concrete, steel, m1m2x, m1m2y, seismic, vx, vy, kind);
        }
        return std::fclose(file) == 0 ? 0 : 3;
    }
    std::fprintf(file,
                 "id,l0,b,h,M0x,M0y,N,ax,ay,concrete,steel,scheme,diameter,ratio_x,ratio_y\n");
    for (long long i = 0; i < rows; ++i) {
        const long long column = interleaved ? i % columns : i / combinations;
        const unsigned b = 300 + 50 * next(7);
        const unsigned h = b + 50 * next(5);
        const unsigned scheme = 1 + next(2);
        std::fprintf(file, "C%lld,%u,%u,%u,%u,%u,%u,40,40,%s,%s,%u,%u,%s,%s\n", column,
                     3000 + 100 * next(40), b, h, 20 + next(400), 10 + next(200), 200 + next(3000),
                     kConcrete[next(6)], kSteel[next(2)], scheme, scheme == 1 ? 22u : 20u,
                     scheme == 2 ? "0.3" : "", scheme == 2 ? "0.25" : "");
    }
    return std::fclose(file) == 0 ? 0 : 3;
}
