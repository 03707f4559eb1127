#pragma once

// The readings of a pool as rules for Fold (see fold.h), each fed the faces
// in the order it needs. Those that read a number of dice have a slot for
// each number from 0; the one that reads a face has a slot for each face.

#include <algorithm>

namespace dice::pools::detail
{

// The k-th die from the end the faces come from: known at the face it shows.
struct KthFromEnd {
    int dice;
    int k;

    int States() const
    {
        return 1;
    }
    int Next(int, int, bool) const
    {
        return 0;
    }
    int Result(int, int face, int left) const
    {
        return dice - left >= k ? face : -1;
    }
};

// The most dice showing one face: known once no face to come can beat it.
struct MostAlike {
    int dice;

    int States() const
    {
        return dice + 1;
    }
    int Next(int most, int shown, bool) const
    {
        return std::max(most, shown);
    }
    int Result(int most, int, int left) const
    {
        return most >= left ? most : -1;
    }
};

// The faces shown on at least k dice: known once fewer than k dice are left.
struct SetsOf {
    int dice;
    int k;

    int States() const
    {
        return dice / k + 1;
    }
    int Next(int sets, int shown, bool) const
    {
        return sets + (shown >= k ? 1 : 0);
    }
    int Result(int sets, int, int left) const
    {
        return left < k ? sets : -1;
    }
};

// The longest run of faces one apart, as a state run * (most + 1) + longest,
// where no run is longer than `most`, the fewer of the dice and the faces:
// known once the run under way, with every die left added, cannot beat it.
struct LongestRun {
    int most;

    int States() const
    {
        return (most + 1) * (most + 1);
    }
    int Next(int state, int shown, bool adjacent) const
    {
        const int run = shown == 0 ? 0 : adjacent ? state / (most + 1) + 1 : 1;
        return run * (most + 1) + std::max(state % (most + 1), run);
    }
    int Result(int state, int, int left) const
    {
        const int longest = state % (most + 1);
        return longest >= state / (most + 1) + left ? longest : -1;
    }
};

} // namespace dice::pools::detail
