#include "Conduit/Src/DbItemInfo.h"

void CDbItemInfoKey::Write(IDataWriter& writer) const
{
    writer.WriteByte(static_cast<BYTE>(ObjectType));
    writer.WriteDWord(RefID);
}

void CDbItemInfoValue::Write(IDataWriter& writer) const
{
    writer.WriteDouble(DateCreated);
    writer.WriteDouble(DateModified);
}

void CDbItemInfo::Write(IDataWriter& writer) const
{
    m_key.Write(writer);
    m_value.Write(writer);
}

bool ReadItemInfo(IDataReader& reader, CDbItemInfo& info)
{
    CDbItemInfoKey& key = info.GetKey();
    CDbItemInfoValue& value = info.GetValue();
    key.ObjectType = static_cast<CBaseObject::ObjectType>(reader.ReadByte());
    key.RefID = reader.ReadDWord();
    value.DateCreated = reader.ReadDouble();
    value.DateModified = reader.ReadDouble();
    return !reader.IsFailed();
}
