-- SPDX-License-Identifier: GPL-3.0-or-later
-- SPDX-FileCopyrightText: Kestrel developers
--
-- Peritoneal dialysis ware: the inventory of items that belong to dialysis packages.

CREATE TABLE tbcapdware_Invent (
    InventID ident,
    TransType vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    Description vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbcapdware_Invent_ItemID ON tbcapdware_Invent (ItemID, TransType);
