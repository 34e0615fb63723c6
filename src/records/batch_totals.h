#pragma once
// A batch of gifts the treasurer enters from a pile of checks: the number of gifts and the total
// expected, and the donations recorded since the batch began. It lives in memory only, for the
// session and the open file; the file never holds it.
//
// A gift is one donation row: a split check recorded as five lines is five gifts, because each
// line is a row of its own in the grid, the reports and this count alike. A donation of the
// batch deleted through Delete Donation leaves the batch; one whose amount is corrected in the
// grid counts with its new amount.
#include "frame/batch_gifts.h"
#include "platform/vb/currency.h"

#include <QString>
#include <cstdint>
#include <map>
#include <optional>

namespace records {

class BatchTotals {
public:
    BatchTotals(std::int64_t expectedGifts, vb::Currency expectedTotal)
        : expectedGifts_(expectedGifts), expectedTotal_(expectedTotal)
    {
    }

    std::int64_t expectedGifts() const { return expectedGifts_; }
    vb::Currency expectedTotal() const { return expectedTotal_; }
    std::int64_t gifts() const { return static_cast<std::int64_t>(recorded_.size()); }
    // None when the total lies beyond the range of an amount (the gifts of a batch are not
    // bounded in number): it is then shown as not available, and the batch does not balance.
    std::optional<vb::Currency> total() const;

    // A donation row recorded during the batch, by its PaymentID.
    void add(std::int64_t paymentId, vb::Currency amount) { recorded_[paymentId] = amount; }
    // A donation deleted: it leaves the batch when it was part of it.
    bool remove(std::int64_t paymentId) { return recorded_.erase(paymentId) > 0; }
    // A donation's amount changed: the batch follows when it holds that donation.
    bool amend(std::int64_t paymentId, vb::Currency amount);
    bool holds(std::int64_t paymentId) const { return recorded_.count(paymentId) > 0; }
    // The batch as the deposit list needs it: its donations in the order recorded, what was
    // expected, and what does not balance.
    BatchGifts handedOver() const;

    bool balances() const { return gifts() == expectedGifts_ && total() == expectedTotal_; }

    // "Batch: 12 of 40 gifts, $310.00 of $1,275.00"
    QString progressText() const;
    // What does not balance, one line each for the gifts and the total; empty when it balances.
    QString differences() const;

private:
    std::int64_t expectedGifts_;
    vb::Currency expectedTotal_;
    std::map<std::int64_t, vb::Currency> recorded_;
};

// The program's one form of an amount: "$1,275.00"; "Not Available" for none.
QString batchAmount(const std::optional<vb::Currency>& amount);

// The expected figures as the treasurer types them: a whole number of gifts from 1 on and an
// amount above zero. A refusal says what is wrong, in the user's words.
struct BatchExpectation {
    std::int64_t gifts = 0;
    vb::Currency total;
};
struct BatchReading {
    std::optional<BatchExpectation> expectation;
    QString refusal;  // set when expectation is none
    int wrongBox = -1;  // 0: the gifts, 1: the total
};
BatchReading readBatchExpectation(const QString& giftsText, const QString& totalText);

} // namespace records
