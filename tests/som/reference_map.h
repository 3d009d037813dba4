// A second, plain implementation of the deterministic map runs (all weights 0 or all 1,
// the animals on the diagonal), written straight from the learning rule with plain
// arrays, so that the program's map can be checked against it.
#pragma once

#include <array>

namespace reference {

using Table = std::array<std::array<double, 16>, 16>;  // [animal][attribute]
struct Winner {
    int x, y;
};

inline std::array<Winner, 16> Run(double fill, const Table& animals, double alfa0, double nc0, int loop, int steps) {
    static double w[16][16][16], w0[16][16][16];
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y)
            for (int a = 0; a < 16; ++a) w[x][y][a] = fill;
    for (int n = 0; n < 16; ++n)
        for (int a = 0; a < 16; ++a) w[15 - n][n][a] = animals[n][a];

    auto winner = [&](const std::array<double, 16>& v) {
        Winner best{0, 0};
        double bestD = 1e300;
        for (int x = 0; x < 16; ++x)
            for (int y = 0; y < 16; ++y) {
                double d = 0;
                for (int a = 0; a < 16; ++a) d += (v[a] - w[x][y][a]) * (v[a] - w[x][y][a]);
                if (d < bestD) {
                    bestD = d;
                    best = {x, y};
                }
            }
        return best;
    };

    for (int count = 1; count <= steps; ++count) {
        const double f = 1.0 - (count - 1.0) / loop;
        const double alpha = f * alfa0, nc = f * nc0;
        int r = 0;
        while (r + 1 <= nc) ++r;  // Int of a non-negative radius
        for (int x = 0; x < 16; ++x)
            for (int y = 0; y < 16; ++y)
                for (int a = 0; a < 16; ++a) w0[x][y][a] = w[x][y][a];
        for (int n = 0; n < 16; ++n) {
            const Winner b = winner(animals[n]);
            for (int x = b.x - r; x <= b.x + r; ++x)
                for (int y = b.y - r; y <= b.y + r; ++y) {
                    if (x < 0 || x > 15 || y < 0 || y > 15) continue;
                    if ((y - b.y) * (y - b.y) + (x - b.x) * (x - b.x) > nc * nc) continue;
                    for (int a = 0; a < 16; ++a) w[x][y][a] = (animals[n][a] - w0[x][y][a]) * alpha + w0[x][y][a];
                }
        }
    }
    std::array<Winner, 16> winners;
    for (int n = 0; n < 16; ++n) winners[n] = winner(animals[n]);
    return winners;
}

// The default table, typed again from the window's columns (animals) and rows (attributes).
inline Table DefaultTable() {
    const double rows[16][16] = {
        {1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0},              // 小さい
        {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0},              // 中ぐらい
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1},              // 大きい
        {1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},              // ２本足
        {0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1},              // ４本足
        {0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1},              // 毛を持つ
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1},              // ひづめを持つ
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1, 1, 1, 0},              // たてがみを持つ
        {1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},              // 羽を持つ
        {0, 0, 0, 0, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0, 0, 0},              // 狩猟する
        {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 1, 1, 1, 0},              // 走ることを好む
        {1, 0, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},              // 飛ぶことを好む
        {0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},              // 泳ぐことを好む
        {0.5, 0.5, 0.5, 0.5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1},      // 草食性
        {0, 0, 0, 0, 1, 0, 0, 0.5, 0, 1, 0.5, 0.5, 0, 0, 0, 0},        // 夜行性
        {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0},              // 縞あり
    };
    Table t;
    for (int n = 0; n < 16; ++n)
        for (int a = 0; a < 16; ++a) t[n][a] = rows[a][n];
    return t;
}

}  // namespace reference
