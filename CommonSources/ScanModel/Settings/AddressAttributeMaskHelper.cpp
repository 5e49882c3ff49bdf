#include "AddressAttributeMaskHelper.h"

AddressAttributeMaskHelper::AddressAttributeMaskHelper()
    : m_names{m_cn, m_mail}, m_record{m_names, 2} {}

AddressAttributeMaskHelper::~AddressAttributeMaskHelper() = default;
