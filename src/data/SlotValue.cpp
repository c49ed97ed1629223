// Slot values and the errors for reading them in the wrong shape.
#include "data/SlotValue.h"

#include "common/Errors.h"

namespace kolmara::data {

namespace {

[[noreturn]] void invalidConversion()
{
    throw KolmaraError(QStringLiteral("Invalid variant type conversion"));
}

[[noreturn]] void indexOutOfBounds()
{
    throw KolmaraError(QStringLiteral("Variant or safe array index out of bounds"));
}

}  // namespace

SlotValue SlotValue::fromText(QString text)
{
    SlotValue value;
    value.m_value = std::move(text);
    return value;
}

SlotValue SlotValue::fromArray(QStringList elements)
{
    SlotValue value;
    value.m_value = std::move(elements);
    return value;
}

QString SlotValue::text() const
{
    if (const auto* single = std::get_if<QString>(&m_value))
        return *single;
    if (isEmpty())
        return {};
    invalidConversion();
}

QString SlotValue::text(int row) const
{
    const auto* array = std::get_if<QStringList>(&m_value);
    if (!array)
        invalidConversion();
    if (row < 0 || row >= array->size())
        indexOutOfBounds();
    return array->at(row);
}

int SlotValue::length() const
{
    const auto* array = std::get_if<QStringList>(&m_value);
    return array ? int(array->size()) : 0;
}

void SlotValue::setElement(int row, const QString& text)
{
    auto* array = std::get_if<QStringList>(&m_value);
    if (!array)
        invalidConversion();
    if (row < 0 || row >= array->size())
        indexOutOfBounds();
    (*array)[row] = text;
}

}  // namespace kolmara::data
