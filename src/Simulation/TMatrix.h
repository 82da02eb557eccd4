#pragma once

#include <cstdint>
#include <new>
#include <utility>

#include "Simulation/Assert.h"
#include "Simulation/TValue.h"

// A dense row-major matrix of TValue. Arithmetic reads every operand value
// once per use (evaluating live values) and yields static numbers; only
// copying, assignment and transposition carry live values over. The engine
// uses these matrices to assemble the model; the time loop works on compact
// structures built from them.
class TMatrix {
public:
    std::int32_t ysize = 0;
    std::int32_t xsize = 0;

    TMatrix() = default;
    TMatrix(std::int32_t y, std::int32_t x) : ysize(y), xsize(x) {
        QUENTOR_CHECK(x >= 0 && y >= 0, "x>=0 && y>=0", "Simulation/TMatrix");
        Allocate();
    }
    TMatrix(const TMatrix& other) : ysize(other.ysize), xsize(other.xsize) {
        Allocate();
        CopyFrom(other);
    }
    TMatrix(TMatrix&& other) noexcept
        : ysize(other.ysize), xsize(other.xsize), base_(std::exchange(other.base_, nullptr)) {}
    ~TMatrix() { delete[] base_; }

    TMatrix& operator=(const TMatrix& other) {
        if (this == &other) return *this;
        if (ysize != other.ysize || xsize != other.xsize) {
            delete[] base_;
            base_ = nullptr;
            ysize = other.ysize;
            xsize = other.xsize;
            Allocate();
        }
        CopyFrom(other);
        return *this;
    }
    TMatrix& operator=(TMatrix&& other) noexcept {
        if (this != &other) {
            delete[] base_;
            ysize = other.ysize;
            xsize = other.xsize;
            base_ = std::exchange(other.base_, nullptr);
        }
        return *this;
    }

    std::int64_t Size() const { return std::int64_t(ysize) * xsize; }

    // Row access: the row's first element; columns are addressed by offset.
    TValue* operator[](std::int32_t y) {
        QUENTOR_CHECK(y >= 0 && y < ysize, "y>=0 && y<ysize", "Simulation/TMatrix");
        return base_ + std::int64_t(y) * xsize;
    }
    const TValue* operator[](std::int32_t y) const {
        QUENTOR_CHECK(y >= 0 && y < ysize, "y>=0 && y<ysize", "Simulation/TMatrix");
        return base_ + std::int64_t(y) * xsize;
    }
    // Linear element access; the caller keeps i below ysize * xsize.
    const TValue& At(std::int64_t i) const { return base_[i]; }
    TValue& At(std::int64_t i) { return base_[i]; }
    void Set(std::int64_t i, const TValue& v) { base_[i] = v; }
    // Element (y, x) through the row access check.
    TValue& operator()(std::int32_t y, std::int32_t x) { return (*this)[y][x]; }
    const TValue& operator()(std::int32_t y, std::int32_t x) const { return (*this)[y][x]; }

    friend TMatrix operator+(const TMatrix& A, const TMatrix& B) { return A.Combine(B, 1.0); }
    friend TMatrix operator-(const TMatrix& A, const TMatrix& B) { return A.Combine(B, -1.0); }

    friend TMatrix operator*(const TMatrix& A, const TMatrix& B) {
        QUENTOR_CHECK(B.ysize == A.xsize, "xsize==A.ysize", "Simulation/TMatrix");
        TMatrix r(A.ysize, B.xsize);
        for (std::int32_t i = 0; i < A.ysize; ++i)
            for (std::int32_t j = 0; j < B.xsize; ++j) {
                double s = 0.0;
                for (std::int32_t k = 0; k < A.xsize; ++k)
                    s += A.base_[std::int64_t(i) * A.xsize + k].Value() *
                         B.base_[std::int64_t(k) * B.xsize + j].Value();
                r.base_[std::int64_t(i) * r.xsize + j] = s;
            }
        return r;
    }

    friend TMatrix operator*(const TMatrix& A, double s) {
        TMatrix r(A.ysize, A.xsize);
        for (std::int64_t i = 0; i < A.Size(); ++i) r.base_[i] = A.base_[i].Value() * s;
        return r;
    }

    TMatrix operator-() const {
        TMatrix r(ysize, xsize);
        for (std::int64_t i = 0; i < Size(); ++i) r.base_[i] = -base_[i].Value();
        return r;
    }

    // Element (x, y) = A(y, x), kinds kept.
    TMatrix Transposed() const {
        TMatrix r(xsize, ysize);
        for (std::int32_t y = 0; y < ysize; ++y)
            for (std::int32_t x = 0; x < xsize; ++x)
                r.base_[std::int64_t(x) * r.xsize + y] = base_[std::int64_t(y) * xsize + x];
        return r;
    }

private:
    void Allocate() {
        if (ysize == 0 || xsize == 0) return;
        base_ = new (std::nothrow) TValue[std::size_t(Size())];
        QUENTOR_CHECK(base_ != nullptr, "base", "Simulation/TMatrix");
    }
    void CopyFrom(const TMatrix& other) {
        for (std::int64_t i = 0; i < Size(); ++i) base_[i] = other.base_[i];
    }
    TMatrix Combine(const TMatrix& B, double sign) const {
        QUENTOR_CHECK(ysize == B.ysize && xsize == B.xsize, "ysize==A.ysize && xsize==A.xsize",
                      "Simulation/TMatrix");
        TMatrix r(ysize, xsize);
        for (std::int64_t i = 0; i < Size(); ++i)
            r.base_[i] = base_[i].Value() + sign * B.base_[i].Value();
        return r;
    }

    TValue* base_ = nullptr;
};

inline TMatrix Transpose(const TMatrix& A) { return A.Transposed(); }
