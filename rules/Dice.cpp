#include "rules/Dice.h"

#include <array>

#include "rules/Random.h"
#include "settings/KeyValueFile.h"

namespace quintaro {

namespace {

constexpr int faceCount = 6;

// How often each face (by face index) occurs in a hand string, counted in one pass. A "10"
// is taken whole wherever it starts, which is how countFace finds the non-overlapping tens;
// no other label contains "1" or "0", so the other faces are plain characters.
std::array<int, faceCount> countFaces(std::string_view hand) {
    std::array<int, faceCount> counts{};
    for (std::size_t at = 0; at < hand.size(); ++at) {
        switch (hand[at]) {
            case 'A':
                ++counts[0];
                break;
            case 'K':
                ++counts[1];
                break;
            case 'Q':
                ++counts[2];
                break;
            case 'J':
                ++counts[3];
                break;
            case '1':
                if (at + 1 < hand.size() && hand[at + 1] == '0') {
                    ++counts[4];
                    ++at;
                }
                break;
            case '9':
                ++counts[5];
                break;
            default:
                break;
        }
    }
    return counts;
}

// Whether a face other than the given one occurs exactly twice.
bool otherFaceTwice(const std::array<int, faceCount>& counts, int except) {
    for (int face = 0; face < faceCount; ++face) {
        if (face != except && counts[std::size_t(face)] == 2) {
            return true;
        }
    }
    return false;
}

}  // namespace

int countFace(std::string_view hand, std::string_view label) {
    if (label.empty()) {
        return 0;
    }
    int count = 0;
    for (std::size_t at = hand.find(label); at != std::string_view::npos;
         at = hand.find(label, at + label.size())) {
        ++count;
    }
    return count;
}

std::string rollFace() {
    return std::string(faceLabels[std::size_t(drawUniform(faceCount - 1))]);
}

void rollDice(Board& board) {
    for (int die = Die1; die <= Die5; ++die) {
        if (!board.dieHeld(die)) {
            board.setControlText(die, rollFace());
        }
    }
}

std::string currentHandString(const Board& board) {
    std::string hand;
    for (int die = Die1; die <= Die5; ++die) {
        hand += board.controlText(die);
    }
    return hand;
}

int classifyHandString(std::string_view hand) {
    const std::array<int, faceCount> counts = countFaces(hand);
    // Five of a kind is the hand string equal to one of fiveOfAKindHands: five occurrences of
    // a label filling the whole string.
    for (int face = 0; face < faceCount; ++face) {
        if (counts[std::size_t(face)] == 5 &&
            hand.size() == 5 * faceLabels[std::size_t(face)].size()) {
            return FiveOfAKind;
        }
    }
    for (int face = 0; face < faceCount; ++face) {
        if (counts[std::size_t(face)] == 4) {
            return FourOfAKind;
        }
    }
    // The first face shown three times decides between a full house and trips.
    for (int face = 0; face < faceCount; ++face) {
        if (counts[std::size_t(face)] == 3) {
            return otherFaceTwice(counts, face) ? FullHouse : Trips;
        }
    }
    // K, Q, J and 10 all present with an Ace or a Nine: with five dice no face can repeat.
    const bool middle = counts[1] > 0 && counts[2] > 0 && counts[3] > 0 && counts[4] > 0;
    if (middle && (counts[0] > 0 || counts[5] > 0)) {
        return Straight;
    }
    for (int face = 0; face < faceCount; ++face) {
        if (counts[std::size_t(face)] == 2) {
            return otherFaceTwice(counts, face) ? TwoPair : Pair;
        }
    }
    return NoHand;
}

int classifyHand(const Board& board) {
    return classifyHandString(currentHandString(board));
}

std::string currentHandName(const Board& board, const GameState& state) {
    const int category = classifyHand(board);
    return readOneText(state.languageFile, "hands" + std::to_string(category), "");
}

std::string exampleHand(int category) {
    const int example = drawUniform(4);
    if (category < 0 || category >= int(exampleHands.size())) {
        return "";
    }
    return std::string(exampleHands[std::size_t(category)][std::size_t(example)]);
}

int improveCategory(int category) {
    // All three draws are made whatever the category, in this order.
    const bool a = drawUniform(5) == 0;
    const bool b = drawUniform(5) == 0;
    const bool c = drawUniform(5) == 0;
    switch (category) {
        case NoHand:
            return a ? Straight : NoHand;
        case FourOfAKind:
            return a ? FiveOfAKind : FourOfAKind;
        case Trips:
            if (a && b) {
                return FiveOfAKind;
            }
            if (a || b) {
                return FourOfAKind;
            }
            return c ? FullHouse : Trips;
        case TwoPair:
            return a ? FullHouse : TwoPair;
        case Pair:
            return a || b || c ? Trips : Pair;
        default:
            // Five of a kind, full house, straight and any other value stay as they are.
            return category;
    }
}

}  // namespace quintaro
