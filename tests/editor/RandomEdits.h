#pragma once
// Random numbers and texts for the step-by-step comparisons of the undo
// history with a plain model: a fixed seed, so a failing step repeats.
#include <QString>
#include <random>
#include <utility>

struct RandomEdits {
    RandomEdits(unsigned seed, QString letters)
        : rng(seed)
        , alphabet(std::move(letters))
    {
    }
    int pick(int n) { return int(rng() % unsigned(n)); }
    // Up to maxLength letters of the alphabet.
    QString text(int maxLength)
    {
        QString s;
        for (int i = pick(maxLength + 1); i > 0; --i)
            s += alphabet[pick(int(alphabet.size()))];
        return s;
    }

    std::mt19937 rng;
    QString alphabet;
};
