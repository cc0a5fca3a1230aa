#include "expr/clsVar.h"

#include "expr/LanguageWords.h"
#include "expr/TextHelpers.h"

namespace tarnik {

void clsVar::Clear()
{
    m_slots.clear();
    m_names.clear();
    m_ready.clear();
    m_slotByKey.clear();
    m_nameIndex.clear();
    m_varNames.clear();
    ++m_generation;
}

clsVar::Ref clsVar::resolve(std::u16string_view name)
{
    auto [nameEntry, newName] = m_nameIndex.try_emplace(std::u16string(name), std::int32_t(m_names.size()));
    if (newName) {
        m_names.push_back({std::u16string(name)});
        m_ready.push_back(0);
    }
    Ref ref{-1, nameEntry->second};
    if (isLanguageWord(name)) return ref;

    auto [slotEntry, newSlot] = m_slotByKey.try_emplace(lowerAscii(name), std::int32_t(m_slots.size()));
    if (newSlot) m_slots.emplace_back();
    ref.slot = slotEntry->second;
    return ref;
}

double clsVar::valueOf(std::u16string_view name) const
{
    auto slot = m_slotByKey.find(lowerAscii(name));
    return slot == m_slotByKey.end() ? 0.0 : m_slots[slot->second].value;
}

void clsVar::listName(std::int32_t name)
{
    m_names[name].listed = true;
    m_varNames.push_back(m_names[name].text);
}

double clsVar::firstOperandRead(Ref ref) { return ref.slot < 0 ? 0.0 : storage(ref); }

void clsVar::makeReady(Ref ref)
{
    if (!m_names[ref.name].listed) listName(ref.name);
    Slot& slot = m_slots[ref.slot];
    if (!slot.exists) {
        slot.exists = true;
        slot.value = 0;
    }
    m_ready[ref.name] = 1;
}

}  // namespace tarnik
