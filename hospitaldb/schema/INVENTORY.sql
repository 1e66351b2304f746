-- SPDX-License-Identifier: GPL-3.0-or-later
-- SPDX-FileCopyrightText: Kestrel developers
--
-- Stock locations, inventory switches and the stock card of issued and returned items.

-- Location is spelled as the ItemName of the revenue code that draws from it.
CREATE TABLE tbInvLocation (
    LocationID vchar NOT NULL PRIMARY KEY,
    Location vchar NOT NULL DEFAULT '',
    InventoryType vchar NOT NULL DEFAULT ''
);

CREATE TABLE tbInvSwitch (
    IDKey vchar NOT NULL PRIMARY KEY,
    KeyValue vchar,
    Description vchar NOT NULL DEFAULT ''
);

-- Every movement of stock charged to or returned by a patient. RefNum is the charge slip,
-- CreditMemoNum the credit memo of a return.
CREATE TABLE tbInvStockCard (
    SequenceNumber ident,
    IDNum vchar NOT NULL DEFAULT '',
    HospNum vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    LocationID vchar NOT NULL DEFAULT '',
    RefNum vchar NOT NULL DEFAULT '',
    PackageID vchar,
    CreditMemoNum vchar NOT NULL DEFAULT '',
    TransType vchar NOT NULL DEFAULT '',
    Quantity float NOT NULL DEFAULT 0,
    Amount money NOT NULL DEFAULT 0,
    TransDate datetime,
    UserID vchar NOT NULL DEFAULT '',
    Remarks vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbInvStockCard_RefNum ON tbInvStockCard (RefNum);
CREATE INDEX ix_tbInvStockCard_IDNum ON tbInvStockCard (IDNum, ItemID);
CREATE INDEX ix_tbInvStockCard_CreditMemoNum ON tbInvStockCard (CreditMemoNum);
