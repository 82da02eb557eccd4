#pragma once

#include <vector>

// The structure of a square sparse matrix, column by column (compressed
// sparse columns): the rows of column k are rowIndex[colStart[k] ..
// colStart[k + 1]), ascending. Every diagonal entry is present, so that an
// unknown no equation reads can still be pinned.
struct TSparsePattern {
    int n = 0;
    std::vector<int> colStart{0};
    std::vector<int> rowIndex;

    int NonZeros() const { return int(rowIndex.size()); }
    // Position of entry (row, col) in the value array, or -1.
    int Find(int row, int col) const;
};

// Builds the pattern from the rows each column reads: `columnsOfRow[i]` lists
// the unknowns residual row i depends on (any order, repeats allowed).
TSparsePattern PatternFromRows(const std::vector<std::vector<int>>& columnsOfRow);

// Groups of columns that share no row (greedy colouring in column order):
// perturbing every column of a group at once still gives each row the
// difference of exactly one column. Returns the group of each column and the
// number of groups.
// With `only`, just the columns it marks are grouped; the others get -1.
int ColourColumns(const TSparsePattern& pattern, std::vector<int>& groupOf,
                  const std::vector<char>* only = nullptr);
