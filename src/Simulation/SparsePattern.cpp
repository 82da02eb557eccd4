#include "Simulation/SparsePattern.h"

#include <algorithm>

int TSparsePattern::Find(int row, int col) const {
    const auto first = rowIndex.begin() + colStart[std::size_t(col)];
    const auto last = rowIndex.begin() + colStart[std::size_t(col) + 1];
    const auto it = std::lower_bound(first, last, row);
    return it != last && *it == row ? int(it - rowIndex.begin()) : -1;
}

TSparsePattern PatternFromRows(const std::vector<std::vector<int>>& columnsOfRow) {
    TSparsePattern p;
    p.n = int(columnsOfRow.size());
    std::vector<std::vector<int>> rowsOfColumn(std::size_t(p.n));
    for (int i = 0; i < p.n; ++i) {
        rowsOfColumn[std::size_t(i)].push_back(i);
        for (int k : columnsOfRow[std::size_t(i)])
            if (k >= 0 && k < p.n) rowsOfColumn[std::size_t(k)].push_back(i);
    }
    p.colStart.assign(std::size_t(p.n) + 1, 0);
    for (int k = 0; k < p.n; ++k) {
        auto& rows = rowsOfColumn[std::size_t(k)];
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        p.rowIndex.insert(p.rowIndex.end(), rows.begin(), rows.end());
        p.colStart[std::size_t(k) + 1] = int(p.rowIndex.size());
    }
    return p;
}

int ColourColumns(const TSparsePattern& p, std::vector<int>& groupOf, const std::vector<char>* only) {
    // Columns of each row, to find the columns a column conflicts with.
    std::vector<int> rowStart(std::size_t(p.n) + 1, 0);
    for (int r : p.rowIndex) ++rowStart[std::size_t(r) + 1];
    for (int i = 0; i < p.n; ++i) rowStart[std::size_t(i) + 1] += rowStart[std::size_t(i)];
    std::vector<int> colsOfRow(p.rowIndex.size());
    std::vector<int> fill(rowStart.begin(), rowStart.end() - 1);
    for (int k = 0; k < p.n; ++k)
        for (int e = p.colStart[std::size_t(k)]; e < p.colStart[std::size_t(k) + 1]; ++e)
            colsOfRow[std::size_t(fill[std::size_t(p.rowIndex[std::size_t(e)])]++)] = k;

    groupOf.assign(std::size_t(p.n), -1);
    std::vector<int> usedBy;  // usedBy[g] == k: group g is taken by a neighbour of column k
    int groups = 0;
    for (int k = 0; k < p.n; ++k) {
        if (only && !(*only)[std::size_t(k)]) continue;
        for (int e = p.colStart[std::size_t(k)]; e < p.colStart[std::size_t(k) + 1]; ++e) {
            const int r = p.rowIndex[std::size_t(e)];
            for (int q = rowStart[std::size_t(r)]; q < rowStart[std::size_t(r) + 1]; ++q)
                if (const int g = groupOf[std::size_t(colsOfRow[std::size_t(q)])]; g >= 0) usedBy[std::size_t(g)] = k;
        }
        int g = 0;
        while (g < groups && usedBy[std::size_t(g)] == k) ++g;
        if (g == groups) {
            ++groups;
            usedBy.push_back(-1);
        }
        groupOf[std::size_t(k)] = g;
    }
    return groups;
}
