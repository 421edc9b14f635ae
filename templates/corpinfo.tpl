<?xml version="1.0" encoding="UTF-8"?>
<CorpInfo>
  <ReportInfo>
    <CorpID/>
    <CorpName/>
    <ReportDate/>
    <ReportUser/>
  </ReportInfo>
  <Basic>
    <CorpID/>
    <AreaCode/>
    <Name/>
    <ShortName/>
    <Address/>
    <PostCode/>
    <PhoneNo/>
    <FaxNo/>
    <Email/>
    <Type dict="古建、石窟、近现代建筑">10</Type>
    <Class dict="全国重点文物保护单位">11</Class>
    <Risc dict="一级风险单位">10</Risc>
  </Basic>
  <Reserve>
    <DepotArea/>
    <TotalItemNum/>
    <ItemDetail>
      <FirstClassItem>
        <TotalNum>0</TotalNum>
        <DetailNum><GoodNum>0</GoodNum><SlightDamagedNum>0</SlightDamagedNum><SevereDamagedNum>0</SevereDamagedNum></DetailNum>
        <FundDemand>0</FundDemand>
      </FirstClassItem>
      <SecondClassItem>
        <TotalNum>0</TotalNum>
        <DetailNum><GoodNum>0</GoodNum><SlightDamagedNum>0</SlightDamagedNum><SevereDamagedNum>0</SevereDamagedNum></DetailNum>
        <FundDemand>0</FundDemand>
      </SecondClassItem>
      <ThirdClassItem>
        <TotalNum>0</TotalNum>
        <DetailNum><GoodNum>0</GoodNum><SlightDamagedNum>0</SlightDamagedNum><SevereDamagedNum>0</SevereDamagedNum></DetailNum>
        <FundDemand>0</FundDemand>
      </ThirdClassItem>
      <ValuableRelic>
        <TotalNum>0</TotalNum>
        <DetailNum><GoodNum>0</GoodNum><SlightDamagedNum>0</SlightDamagedNum><SevereDamagedNum>0</SevereDamagedNum></DetailNum>
        <FundDemand>0</FundDemand>
      </ValuableRelic>
    </ItemDetail>
    <DamageDescription/>
  </Reserve>
  <Security>
    <AreaInfo>
      <CorpArea>0</CorpArea>
      <ItemArea>0</ItemArea>
    </AreaInfo>
    <SecurityDeviceStatus dict="完善">3</SecurityDeviceStatus>
    <StoreDeviceStatus dict="完善">3</StoreDeviceStatus>
    <FireProtect>
      <WaterSupplyDeviceStatus dict="完善">3</WaterSupplyDeviceStatus>
      <AlarmDeviceStatus dict="完善">3</AlarmDeviceStatus>
      <LightingDeviceStatus dict="完善">3</LightingDeviceStatus>
    </FireProtect>
    <StolenInfo>
      <StolenTimes>0</StolenTimes>
      <StolenItemNum>0</StolenItemNum>
    </StolenInfo>
  </Security>
  <Construction>
    <Depot>
      <FireSecurityDeviceStatus dict="完善">3</FireSecurityDeviceStatus>
      <RelicProtectionDeviceStatus dict="完善">3</RelicProtectionDeviceStatus>
    </Depot>
    <GreatSite>
      <TotalArea>0</TotalArea>
      <CoreArea>0</CoreArea>
      <RelicAge/>
      <RelicType/>
    </GreatSite>
  </Construction>
</CorpInfo>
