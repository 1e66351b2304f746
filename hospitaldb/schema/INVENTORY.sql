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

-- The drug and supply master of the pharmacy and the central supply. Status 'A' for items in
-- use; Unrestricted 1 for items that may be charged to cash-basis patients.
CREATE TABLE tbInvMaster (
    ItemID vchar NOT NULL PRIMARY KEY,
    ItemName vchar NOT NULL DEFAULT '',
    Description vchar NOT NULL DEFAULT '',
    GenericName vchar NOT NULL DEFAULT '',
    ClassificationName vchar NOT NULL DEFAULT '',
    Route vchar NOT NULL DEFAULT '',
    AntiBioticClassID vchar NOT NULL DEFAULT '',
    Unrestricted flag NOT NULL DEFAULT 0,
    Status vchar NOT NULL DEFAULT 'A',
    -- Medicines the wards must handle with care: high-alert drugs, and those kept cold.
    HighAlert flag NOT NULL DEFAULT 0,
    Refrigerated flag NOT NULL DEFAULT 0
);
CREATE INDEX ix_tbInvMaster_ItemName ON tbInvMaster (ItemName);

-- The antibiotic classes a medicine of the master may belong to.
CREATE TABLE tbInvAntibioticClass (
    AntiBioticClassID vchar NOT NULL PRIMARY KEY,
    AntiBioticClass vchar NOT NULL DEFAULT ''
);

-- Stock of each item at each location, with the prices it sells at there: SellingPriceIn to
-- inpatients, SellingPriceOut to outpatients; AverageCost is what the hospital paid.
CREATE TABLE tbInvent (
    ItemID vchar NOT NULL,
    LocationID vchar NOT NULL,
    OnHand float NOT NULL DEFAULT 0,
    SellingPriceIn money NOT NULL DEFAULT 0,
    SellingPriceOut money NOT NULL DEFAULT 0,
    AverageCost money NOT NULL DEFAULT 0,
    PRIMARY KEY (ItemID, LocationID)
);

-- Prices agreed with a company or HMO for an item, by the account that pays.
CREATE TABLE tbInvCompanyPrice (
    ItemID vchar NOT NULL,
    AccountNum vchar NOT NULL,
    CompanyPrice money NOT NULL DEFAULT 0,
    PRIMARY KEY (ItemID, AccountNum)
);

-- Packages assessed to cash patients, priced at rate letters A to E only.
CREATE TABLE tbInvPackage (
    PackageID vchar NOT NULL PRIMARY KEY,
    Package vchar NOT NULL DEFAULT '',
    RateA money NOT NULL DEFAULT 0,
    RateB money NOT NULL DEFAULT 0,
    RateC money NOT NULL DEFAULT 0,
    RateD money NOT NULL DEFAULT 0,
    RateE money NOT NULL DEFAULT 0,
    Status vchar NOT NULL DEFAULT 'A'
);

-- The pressure readings of the oxygen tanks (PSI): one row each time a tank was used, with the
-- reading before (InitialR) and after (LastR). A tank's next use starts from its latest LastR.
CREATE TABLE tbCSROxygen (
    OxygenID ident,
    ItemID vchar NOT NULL DEFAULT '',
    TankNum vchar NOT NULL DEFAULT '',
    TransDate datetime,
    InitialR float NOT NULL DEFAULT 0,
    LastR float NOT NULL DEFAULT 0,
    IDNum vchar NOT NULL DEFAULT '',
    RefNum vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbCSROxygen_TankNum ON tbCSROxygen (TankNum, TransDate);

-- Where the hospital prices an item by the room class of the stay (InventoryRoomClassRate on):
-- what a patient of that class pays for it, whatever the location that issues it.
CREATE TABLE tbInvRoomClassRate (
    ItemID vchar NOT NULL,
    RoomClassID vchar NOT NULL,
    SellingPrice money NOT NULL DEFAULT 0,
    PRIMARY KEY (ItemID, RoomClassID)
);
