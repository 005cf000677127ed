#pragma once

#include "conversion_options.h"
#include "point_record.h"

namespace velkaro {

class OutputStream;

// The record writers. Every "\n" below reaches the file as CR LF (the stream's rule); record
// values are copied byte for byte, a "%" inside one included.

// "pointCode,,y,x,z\n": the second coordinate first, and the second column always empty.
void writeCassLine(OutputStream &out, const PointRecord &record);
// With CassColumns::Name: "pointName,pointCode,y,x,z\n", as CASS documents its coordinate file,
// the code empty when the source's code field said "NULL". Code gives the line above.
void writeCassLine(OutputStream &out, const PointRecord &record, CassColumns columns);
// "pointName,pointCode,x,y,z\n", in source order.
void writeKaisiLine(OutputStream &out, const PointRecord &record);
// The opener of the one ENTITIES section, written before the first point.
void writeDxfHeader(OutputStream &out);
// A HEADER section that names the Windows code page of the text ($ACADVER AC1009 first, then
// $DWGCODEPAGE ANSI_<codePage>: readers that meet the version after the code page reset the
// latter), then the opener above.
void writeDxfHeader(OutputStream &out, int codePage);
// One POINT entity: layer pointCode (unchanged, even empty), location x, y, z by the number rules.
void writeDxfPoint(OutputStream &out, const PointRecord &record);
// The closer, written after the last point.
void writeDxfFooter(OutputStream &out);

} // namespace velkaro
