#pragma once

// The dice notation and its exact engine. Parse reads an expression such as
// "2d20kh1+5", "4d6r=1kh3" or "8d10!=10>=8f1"; Evaluate gives every total's
// exact weight over one common denominator; Summarize gives the statistics.
// Dice that neither explode nor reroll weigh every total by its number of
// equally likely throws; other dice by whole-number shares of a common
// denominator. A roll that explodes has no highest total: it is listed
// up to the first total above which less than 10^-15 of the chance remains,
// and the weight above it is kept exactly, so every share and that remainder
// add up to the denominator. Weights are GMP integers, so nothing is rounded
// until a text is written. A question about rolls (let, if, labels, Nd(A),
// pool functions) is read and counted by the same two calls.

#include "dice/bounds/check.h"
#include "dice/notation/errors.h"
#include "dice/notation/expression.h"
#include "dice/questions/questions.h"
#include "dice/value/distribution.h"
#include "dice/value/statistics.h"
