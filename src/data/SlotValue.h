// One result slot of a query object: empty, one text (a single-row read) or an array of texts,
// element i from row i (a row-array read). Reading a slot in a shape it does not hold raises
// KolmaraError with the variant error's text, so a screen that reads the wrong shape ends its
// action with an error box instead of showing a wrong value.
#pragma once

#include <QString>
#include <QStringList>

#include <variant>

namespace kolmara::data {

class SlotValue {
public:
    SlotValue() = default;
    static SlotValue fromText(QString text);
    static SlotValue fromArray(QStringList elements);

    bool isEmpty() const { return std::holds_alternative<std::monostate>(m_value); }
    bool isText() const { return std::holds_alternative<QString>(m_value); }
    bool isArray() const { return std::holds_alternative<QStringList>(m_value); }

    // The single value; an empty slot reads as empty text. Throws on an array.
    QString text() const;
    // Element `row` of an array. Throws on a slot that holds no array or a row out of bounds.
    QString text(int row) const;
    // The number of elements of an array; 0 for a slot that holds none.
    int length() const;

    // Writes element `row` of an array slot; the runner sizes the array before it copies rows.
    void setElement(int row, const QString& text);

private:
    std::variant<std::monostate, QString, QStringList> m_value;
};

}  // namespace kolmara::data
