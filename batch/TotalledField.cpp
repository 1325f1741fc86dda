#include "batch/TotalledField.h"

#include "keying/FieldTypes.h"

bool TotalledField::Qualifies(const LayoutField& field)
{
    return FieldTypes::IsNumeric(field.type);
}

TotalledField::TotalledField(int recLen, const PairLayout& pair, const LayoutField& field)
    : m_recLen(static_cast<std::size_t>(recLen)), m_letter(pair.letter), m_field(field),
      m_from(static_cast<std::size_t>(field.start - 1)), m_len(static_cast<std::size_t>(field.len))
{
}

TotalledField::Value TotalledField::read(std::string_view slot) const
{
    if (m_recLen < 1 || slot.size() < m_recLen || slot[m_recLen - 1] != m_letter)
        return {};
    const std::string_view t = text(slot);
    if (const auto value = Decimal::Parse(t))
        return {Kind::Number, *value};
    if (t.find_first_not_of(' ') == std::string_view::npos)
        return {Kind::Blank, {}};
    return {Kind::Invalid, {}};
}
