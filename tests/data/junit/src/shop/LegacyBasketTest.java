package shop;

import static org.junit.Assert.assertEquals;

import org.junit.Ignore;
import org.junit.Test;

public class LegacyBasketTest {
    @Test
    public void totalOfTwoPrices() {
        Basket basket = new Basket();
        basket.add(1);
        basket.add(2);
        assertEquals(3, basket.total());
    }

    @Test
    public void totalOfNothing() {
        assertEquals(1, new Basket().total());
    }

    @Ignore
    @Test
    public void notYet() {
    }
}
