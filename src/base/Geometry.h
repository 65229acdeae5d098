#pragma once

namespace vormix {

struct TPoint {
    int X = 0;
    int Y = 0;

    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int Width = 0;
    int Height = 0;

    friend bool operator==(const TSize&, const TSize&) = default;
};

// A rectangle as Windows knows it: Right and Bottom lie just outside. Width and Height
// keep their sign so that layout arithmetic can see an inverted rectangle; the clamped
// variants are for sizing things that cannot be negative.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    int ClampedWidth() const { return Right > Left ? Right - Left : 0; }
    int ClampedHeight() const { return Bottom > Top ? Bottom - Top : 0; }
    TSize Size() const { return {Width(), Height()}; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }

    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }

    bool Contains(TPoint p) const
    {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }

    // Positive amounts grow the rectangle on every side, negative ones shrink it.
    TRect Inflated(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }

    TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }

    // The common part of two rectangles; like IntersectRect, no overlap gives all zeros.
    TRect Intersected(const TRect& other) const
    {
        TRect r{Left > other.Left ? Left : other.Left, Top > other.Top ? Top : other.Top,
                Right < other.Right ? Right : other.Right, Bottom < other.Bottom ? Bottom : other.Bottom};
        return r.IsEmpty() ? TRect{} : r;
    }

    static TRect FromBounds(int left, int top, int width, int height)
    {
        return {left, top, left + width, top + height};
    }

    friend bool operator==(const TRect&, const TRect&) = default;
};

// value * m / d rounded to the nearest, halves away from zero, in 64-bit arithmetic, as
// the platform's MulDiv computes it; -1 for a division by zero.
inline int MulDiv(int value, int m, int d)
{
    if (d == 0) return -1;
    long long p = static_cast<long long>(value) * m;
    long long divisor = d;
    const bool negative = (p < 0) != (divisor < 0);
    if (p < 0) p = -p;
    if (divisor < 0) divisor = -divisor;
    const long long q = (p + divisor / 2) / divisor;
    return static_cast<int>(negative ? -q : q);
}

} // namespace vormix
